#include "cli/FolderWatch.h"

#include "cli/CliText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a watched folder reports. Reading a file says nothing (our own probe and
// encryption read them); links to folders are never followed, as -r never follows them.
constexpr uint32_t kFolderEvents = IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB |
                                   IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_DELETE_SELF |
                                   IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW | IN_EXCL_UNLINK;

// A folder argument takes the same names (a lower-cased .pdf extension, no hidden file).
bool IsPdfName(const std::string& name) {
    if (name.size() < 5 || name[0] == '.')
        return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".pdf";
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? folder + name : folder + "/" + name;
}

std::string Below(const std::string& subfolder, const std::string& name) {
    return subfolder.empty() ? name : subfolder + "/" + name;
}

} // namespace

FolderWatch::FolderWatch(bool recursive, const std::string& outputDir) : m_recursive(recursive) {
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    struct stat st;
    if (::stat(outputDir.c_str(), &st) == 0) {
        m_outputDevice = st.st_dev;
        m_outputInode = st.st_ino;
    }
}

FolderWatch::~FolderWatch() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string FolderWatch::Add(const std::string& dir, std::vector<Change>& changes) {
    if (m_fd < 0)
        return FormatBytes(_("cannot watch %s: inotify is not available"), Name(dir));
    if (AddTree(dir, "", true, Change::Written, changes))
        return ""; // a subfolder that cannot be watched is only reported
    const std::string why = m_problems.back();
    m_problems.pop_back();
    return why;
}

bool FolderWatch::AddTree(const std::string& path, const std::string& subfolder, bool root,
                          Change::Kind kind, std::vector<Change>& changes) {
    const int wd = ::inotify_add_watch(m_fd, path.c_str(), kFolderEvents);
    if (wd < 0) {
        const std::string why = errno == ENOSPC ? TrUtf8("the limit of inotify watches is reached "
                                                         "(sysctl fs.inotify.max_user_watches)")
                                                : std::strerror(errno);
        m_problems.push_back(FormatBytes(_("cannot watch %s: %s"), Name(path), Name(why)));
        return false;
    }
    // A folder watched already (a rescan, or two watched folders that overlap) keeps
    // its first place.
    if (m_folders.emplace(wd, Folder{path, subfolder, root}).second && root)
        ++m_roots;

    // Listed after the watch is set: a file that arrives meanwhile is reported twice
    // rather than never.
    std::vector<std::string> files, folders;
    if (DIR* d = ::opendir(path.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name.empty() || name[0] == '.')
                continue;
            struct stat st;
            if (::lstat(Join(path, name).c_str(), &st) != 0)
                continue;
            if (!S_ISDIR(st.st_mode)) {
                if (IsPdfName(name))
                    files.push_back(name);
            } else if (m_recursive &&
                       !(st.st_dev == m_outputDevice && st.st_ino == m_outputInode)) {
                folders.push_back(name);
            }
        }
        ::closedir(d);
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (const std::string& name : files)
        changes.push_back({kind, {Join(path, name), subfolder}});
    for (const std::string& name : folders)
        AddTree(Join(path, name), Below(subfolder, name), false, kind, changes);
    return true;
}

void FolderWatch::Wait(int timeoutMs, std::vector<Change>& changes) {
    if (m_fd < 0)
        return;
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return; // nothing, or a signal: the caller looks at its stop request
    alignas(inotify_event) char buffer[64 * 1024];
    // A bounded number of reads, so that a busy writer cannot keep the caller here.
    for (int reads = 0; reads < 16; ++reads) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            return;
        for (ssize_t at = 0; at < got;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if (e->mask & IN_Q_OVERFLOW)
                Rescan(changes);
            else
                Handle(e->wd, e->mask, e->len ? std::string(e->name) : std::string(), changes);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
}

void FolderWatch::Handle(int wd, uint32_t mask, const std::string& name,
                         std::vector<Change>& changes) {
    if (mask & IN_IGNORED) {
        Forget(wd);
        return;
    }
    const auto found = m_folders.find(wd);
    if (found == m_folders.end())
        return;
    const Folder folder = found->second;
    if (mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
        // A subfolder's parent reports it; a watched folder renamed is no longer the
        // folder that was named.
        if (folder.root)
            Drop(folder.path);
        return;
    }
    if (name.empty())
        return;
    const std::string path = Join(folder.path, name);
    if (mask & IN_ISDIR) {
        if (!m_recursive || name[0] == '.')
            return;
        if (mask & (IN_DELETE | IN_MOVED_FROM)) {
            Drop(path);
            changes.push_back({Change::FolderGone, {path, ""}});
            return;
        }
        struct stat st;
        if ((mask & (IN_CREATE | IN_MOVED_TO)) && ::lstat(path.c_str(), &st) == 0 &&
            S_ISDIR(st.st_mode) && !(st.st_dev == m_outputDevice && st.st_ino == m_outputInode))
            AddTree(path, Below(folder.subfolder, name), false,
                    (mask & IN_MOVED_TO) ? Change::MovedIn : Change::Written, changes);
        return;
    }
    if (!IsPdfName(name))
        return;
    const CollectedFile file{path, folder.subfolder};
    if (mask & (IN_DELETE | IN_MOVED_FROM))
        changes.push_back({Change::Gone, file});
    else if (mask & IN_MOVED_TO)
        changes.push_back({Change::MovedIn, file});
    else
        changes.push_back({Change::Written, file});
}

void FolderWatch::Drop(const std::string& path) {
    const std::string below = path + "/";
    for (auto it = m_folders.begin(); it != m_folders.end();) {
        const Folder& folder = it->second;
        if (folder.path != path && folder.path.compare(0, below.size(), below) != 0) {
            ++it;
            continue;
        }
        if (folder.root) {
            --m_roots;
            m_problems.push_back(
                FormatBytes(_("the watched folder %s is gone"), Name(folder.path)));
        }
        ::inotify_rm_watch(m_fd, it->first);
        it = m_folders.erase(it);
    }
}

void FolderWatch::Forget(int wd) {
    const auto found = m_folders.find(wd);
    if (found == m_folders.end())
        return;
    if (found->second.root) {
        --m_roots;
        m_problems.push_back(
            FormatBytes(_("the watched folder %s is gone"), Name(found->second.path)));
    }
    m_folders.erase(found);
}

void FolderWatch::Rescan(std::vector<Change>& changes) {
    std::vector<std::string> roots;
    for (const auto& [wd, folder] : m_folders)
        if (folder.root)
            roots.push_back(folder.path);
    for (const std::string& root : roots)
        AddTree(root, "", true, Change::Written, changes);
}

std::vector<std::string> FolderWatch::TakeProblems() {
    std::vector<std::string> problems;
    problems.swap(m_problems);
    return problems;
}
