#include "engine/PathCheck.h"

#include "engine/api/EngineService.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Fill(const struct stat& st, PathInfo& info) {
    info.dev = st.st_dev;
    info.ino = st.st_ino;
    info.size = st.st_size;
    info.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    info.ctimeNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    info.mode = st.st_mode & 0777;
}

} // namespace

bool PathCheck::IsRegularFile(const std::string& path, PathInfo* info) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (info)
        Fill(st, *info);
    return true;
}

int32_t PathCheck::Classify(const std::string& path, PathInfo& info, int* held) {
    if (held)
        *held = -1;
    if (path.empty() || !IsRegularFile(path, &info))
        return PDFMS_OPEN_NOT_FILE;
    // The user's own link is resolved now, so the open below need not follow one.
    std::string target = path;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real)
            return PDFMS_OPEN_NOT_FILE;
        target = real;
        std::free(real);
    }
    // O_NONBLOCK: the path may have become a FIFO since the stat.
    int fd = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return PDFMS_OPEN_NOT_FILE;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_dev != info.dev ||
        st.st_ino != info.ino) {
        ::close(fd);
        return PDFMS_OPEN_NOT_FILE;
    }
    Fill(st, info);
    char head[1024];
    size_t got = 0;
    while (got < sizeof head) {
        ssize_t n = ::pread(fd, head + got, sizeof head - got, static_cast<off_t>(got));
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    static const char kMagic[] = "%PDF-";
    const size_t magicLen = sizeof kMagic - 1;
    for (size_t i = 0; i + magicLen <= got; ++i) {
        if (std::memcmp(head + i, kMagic, magicLen) == 0) {
            if (held)
                *held = fd;
            else
                ::close(fd);
            return -1;
        }
    }
    ::close(fd);
    return PDFMS_OPEN_NOT_PDF;
}
