#include "core/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<size_t> g_failAfter{SIZE_MAX};

bool WriteAll(int fd, const char* data, size_t size) {
    size_t limit = g_failAfter.load();
    size_t written = 0;
    while (written < size) {
        size_t chunk = size - written;
        if (limit != SIZE_MAX && written + chunk > limit) {
            chunk = limit > written ? limit - written : 0;
            if (chunk == 0)
                return false;
        }
        ssize_t n = ::write(fd, data + written, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

void AtomicFileWriter::FailAfterBytesForTesting(size_t bytes) {
    g_failAfter = bytes;
}

bool AtomicFileWriter::Write(const wxString& path, const std::string& data) {
    std::string target(path.fn_str());
    std::string temp = target + ".XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0)
        return false;
    ::fchmod(fd, 0644);
    bool ok = WriteAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(temp.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}
