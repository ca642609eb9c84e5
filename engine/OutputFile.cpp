#include "engine/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <set>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kPrefix = ".pz-";
constexpr const char* kSuffix = ".tmp";

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string RandomHex() {
    static std::mutex mutex;
    static std::mt19937_64 generator{std::random_device{}()};
    std::lock_guard<std::mutex> lock(mutex);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

// The process id in a name of ours, or 0.
pid_t WriterOf(const std::string& name) {
    const std::string prefix = kPrefix, suffix = kSuffix;
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix))
        return 0;
    long pid = 0;
    size_t i = prefix.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < (1L << 30); ++i)
        pid = pid * 10 + (name[i] - '0');
    return i < name.size() && name[i] == '-' ? static_cast<pid_t>(pid) : 0;
}

} // namespace

OutputFile::OutputFile(const std::string& output, unsigned mode) : m_output(output) {
    const std::string folder = Folder(output);
    for (int attempt = 0; attempt < 4 && m_temp.empty(); ++attempt) {
        const std::string temp =
            folder + "/" + kPrefix + std::to_string(::getpid()) + "-" + RandomHex() + kSuffix;
        const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              static_cast<mode_t>(mode & 0777));
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return;
        }
        struct stat st;
        if (::fstat(fd, &st) == 0) {
            m_temp = temp;
            m_fd = fd;
            m_dev = st.st_dev;
            m_ino = st.st_ino;
        } else {
            ::unlink(temp.c_str());
            ::close(fd);
        }
    }
}

OutputFile::~OutputFile() {
    if (!m_committed)
        Discard();
    if (m_fd >= 0)
        ::close(m_fd);
}

bool OutputFile::IsOurs() const {
    struct stat st;
    return !m_temp.empty() && ::lstat(m_temp.c_str(), &st) == 0 && st.st_dev == m_dev &&
           st.st_ino == m_ino;
}

void OutputFile::Discard() {
    if (m_committed || m_temp.empty() || !IsOurs())
        return;
    if (::unlink(m_temp.c_str()) != 0 && errno != ENOENT)
        m_left = true;
}

OutputFile::Commit OutputFile::Rename(const MayReplace& mayReplace) {
    if (!IsOurs())
        return Commit::Failed;
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct stat st;
        if (::lstat(m_output.c_str(), &st) == 0) {
            if (mayReplace && !mayReplace(st.st_dev, st.st_ino))
                return Commit::Refused;
            if (::rename(m_temp.c_str(), m_output.c_str()) != 0)
                return Commit::Failed;
            m_committed = true;
            return Commit::Done;
        }
        // No output yet: one that appears meanwhile is asked about, never replaced.
        if (::renameat2(AT_FDCWD, m_temp.c_str(), AT_FDCWD, m_output.c_str(), RENAME_NOREPLACE) ==
            0) {
            m_committed = true;
            return Commit::Done;
        }
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return Commit::Failed;
        // A file system without RENAME_NOREPLACE: a hard link fails as atomically.
        if (::link(m_temp.c_str(), m_output.c_str()) == 0) {
            ::unlink(m_temp.c_str());
            m_committed = true;
            return Commit::Done;
        }
        if (errno != EEXIST)
            return Commit::Failed;
    }
    return Commit::Failed;
}

void OutputFile::SweepStale(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> swept;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!swept.insert(folder).second)
            return;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = WriterOf(entry->d_name);
        // Only a name of ours whose process is gone; a live one may be writing.
        if (writer <= 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH)
            continue;
        const std::string path = folder + "/" + entry->d_name;
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}
