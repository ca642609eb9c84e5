#include "cli/SettleTracker.h"

#include <algorithm>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int64_t Nanoseconds(const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The entries of a map of paths that lie below folder.
template <typename Map> void EraseBelow(Map& map, const std::string& folder) {
    const std::string below = folder + "/";
    auto it = map.lower_bound(below);
    while (it != map.end() && it->first.compare(0, below.size(), below) == 0)
        it = map.erase(it);
}

} // namespace

bool SettleTracker::Look::operator==(const Look& other) const {
    return SameContent(other) && changed == other.changed;
}

bool SettleTracker::Look::SameContent(const Look& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified == other.modified;
}

SettleTracker::SettleTracker(double settleSeconds)
    : m_settle(std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(settleSeconds))) {}

bool SettleTracker::LookAt(const std::string& path, Look& look) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    look.device = st.st_dev;
    look.inode = st.st_ino;
    look.size = st.st_size;
    look.modified = Nanoseconds(st.st_mtim);
    look.changed = Nanoseconds(st.st_ctim);
    look.regular = S_ISREG(st.st_mode);
    return true;
}

bool SettleTracker::EndsAsPdf(const std::string& path, int64_t size) {
    // Not blocking: the file was a regular one a moment ago, but names change.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return true; // the probe says what is wrong with it
    char tail[1024];
    const int64_t length = std::min<int64_t>(size, sizeof tail);
    const ssize_t got = ::pread(fd, tail, static_cast<size_t>(length), size - length);
    ::close(fd);
    if (got <= 0)
        return false;
    const std::string text(tail, static_cast<size_t>(got));
    return text.find("%%EOF") != std::string::npos;
}

void SettleTracker::Changed(const CollectedFile& file, bool movedIn, Clock::time_point now) {
    Look look;
    if (!LookAt(file.path, look)) {
        m_waiting.erase(file.path);
        return;
    }
    Waiting& waiting = m_waiting[file.path];
    waiting.file = file;
    waiting.look = look;
    waiting.changed = now;
    waiting.due = now + (movedIn ? std::min<Clock::duration>(m_settle, kMovedIn) : m_settle);
}

void SettleTracker::Gone(const std::string& path, bool folder) {
    if (!folder) {
        m_waiting.erase(path);
        m_taken.erase(path);
        return;
    }
    EraseBelow(m_waiting, path);
    EraseBelow(m_taken, path);
}

void SettleTracker::Taken(const std::string& path) {
    Look look;
    if (LookAt(path, look))
        m_taken[path] = look;
}

std::vector<CollectedFile> SettleTracker::TakeSettled(Clock::time_point now) {
    std::vector<CollectedFile> settled;
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        Waiting& waiting = it->second;
        if (waiting.due > now) {
            ++it;
            continue;
        }
        Look look;
        if (!LookAt(it->first, look)) {
            it = m_waiting.erase(it);
            continue;
        }
        // Changed without an event reaching us (a write through a mapping, say). Not
        // looked at again at once even without a settle time: that would spin.
        if (!(look == waiting.look)) {
            waiting.look = look;
            waiting.changed = now;
            waiting.due = now + std::max<Clock::duration>(m_settle, std::chrono::milliseconds(50));
            ++it;
            continue;
        }
        const auto taken = m_taken.find(it->first);
        if (taken != m_taken.end() && taken->second.SameContent(look)) {
            it = m_waiting.erase(it); // its mode or owner changed, not its content
            continue;
        }
        if (look.regular && now - waiting.changed < kUnfinished &&
            !EndsAsPdf(it->first, look.size)) {
            waiting.due = waiting.changed + kUnfinished;
            ++it;
            continue;
        }
        settled.push_back(waiting.file);
        m_taken[it->first] = look;
        it = m_waiting.erase(it);
    }
    return settled;
}

SettleTracker::Clock::time_point SettleTracker::NextCheck() const {
    Clock::time_point next = Clock::time_point::max();
    for (const auto& [path, waiting] : m_waiting)
        next = std::min(next, waiting.due);
    return next;
}
