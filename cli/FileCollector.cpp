#include "cli/FileCollector.h"

#include "core/FileUtil.h"
#include "core/PathText.h"

#include <algorithm>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

namespace {
bool SameFolder(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}
} // namespace

void FileCollector::AddFolder(const std::string& folder, const std::string& subfolder,
                              bool recursive, const std::string& outputDir,
                              std::vector<CollectedFile>& files) {
    wxArrayString found;
    FileUtil::ListFilesByExtension(PathText::FromBytes(folder), found, "*.pdf");
    std::vector<std::string> sorted;
    for (const auto& f : found)
        sorted.push_back(PathText::ToBytes(f));
    std::sort(sorted.begin(), sorted.end());
    for (const std::string& path : sorted)
        files.push_back({path, subfolder});
    if (!recursive)
        return;

    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name.empty() || name[0] == '.')
                continue;
            std::string path = folder;
            path += '/';
            path += name;
            struct stat st;
            // Not through links: a link back up the tree would never end.
            if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                names.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        std::string path = folder;
        path += '/';
        path += name;
        if (SameFolder(path, outputDir))
            continue;
        std::string below = subfolder;
        if (!below.empty())
            below += '/';
        below += name;
        AddFolder(path, below, true, outputDir, files);
    }
}

std::vector<CollectedFile> FileCollector::Collect(const std::vector<std::string>& paths,
                                                  bool recursive, const std::string& outputDir) {
    std::vector<CollectedFile> files;
    for (std::string path : paths) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        struct stat st;
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            AddFolder(path, "", recursive, outputDir, files);
        else
            files.push_back({path, ""}); // the probe says what is wrong with it
    }
    std::set<std::string> seen;
    std::vector<CollectedFile> unique;
    for (auto& f : files) {
        if (seen.insert(f.path).second)
            unique.push_back(f);
    }
    return unique;
}
