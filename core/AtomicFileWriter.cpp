#include "core/AtomicFileWriter.h"

#include "engine/api/WriteAll.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<size_t> g_failAfter{SIZE_MAX};

// All of data, or as much as a test allows before the write "fails".
bool WriteWithinLimit(int fd, const char* data, size_t size) {
    const size_t allowed = std::min(size, g_failAfter.load());
    return WriteAll(fd, data, allowed) == allowed && allowed == size;
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
    bool ok = WriteWithinLimit(fd, data.data(), data.size()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(temp.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}
