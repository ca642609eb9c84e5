#pragma once
// The folders of --watch under inotify. Says which PDF files arrived, changed or
// went away in them (with recursion also in their subfolders, new ones included);
// when the kernel's event queue overflowed, it lists every PDF again. Files are
// chosen as a folder argument chooses them: a lower-cased .pdf extension, no
// hidden names (our own temporary files ".pz-*.tmp" among them), no hidden
// folders, and never the output folder or anything below it.

#include "cli/FileCollector.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class FolderWatch {
public:
    struct Change {
        enum Kind {
            Written,   // created, written, closed or its attributes changed
            MovedIn,   // renamed into a watched folder: complete, as a rule
            Gone,      // deleted or moved away
            FolderGone // a subfolder and everything below it
        };
        Kind kind;
        CollectedFile file; // subfolder: below the watched folder, for the output tree
    };

    FolderWatch(bool recursive, const std::string& outputDir);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Starts watching dir and lists the PDF files in it as Written; "" or why it
    // cannot be watched.
    std::string Add(const std::string& dir, std::vector<Change>& changes);
    // Waits up to timeoutMs for events and appends what they say.
    void Wait(int timeoutMs, std::vector<Change>& changes);
    // What went wrong since the last call (a subfolder that cannot be watched, a
    // watched folder that went away), one sentence each.
    std::vector<std::string> TakeProblems();
    // Every watched folder went away.
    bool Empty() const { return m_roots == 0; }

private:
    struct Folder {
        std::string path;
        std::string subfolder; // below its watched folder
        bool root = false;
    };

    // Watches folder and (with recursion) its subfolders; lists their PDF files.
    // False when the folder itself cannot be watched.
    bool AddTree(const std::string& path, const std::string& subfolder, bool root,
                 Change::Kind kind, std::vector<Change>& changes);
    void Handle(int wd, uint32_t mask, const std::string& name, std::vector<Change>& changes);
    // Stops watching path and every folder below it.
    void Drop(const std::string& path);
    void Forget(int wd);
    void Rescan(std::vector<Change>& changes);

    int m_fd = -1;
    bool m_recursive;
    uint64_t m_outputDevice = 0, m_outputInode = 0;
    std::map<int, Folder> m_folders; // by watch descriptor
    int m_roots = 0;
    std::vector<std::string> m_problems;
};
