#include "cli/FileCollector.h"

#include "core/FileUtil.h"
#include "core/PathText.h"

#include <algorithm>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

void FileCollector::AddFolder(const std::string& folder, bool recursive,
                              std::vector<std::string>& files) {
    wxArrayString found;
    FileUtil::ListFilesByExtension(PathText::FromBytes(folder), found, "*.pdf");
    std::vector<std::string> sorted;
    for (const auto& f : found)
        sorted.push_back(PathText::ToBytes(f));
    std::sort(sorted.begin(), sorted.end());
    files.insert(files.end(), sorted.begin(), sorted.end());
    if (!recursive)
        return;

    std::vector<std::string> subfolders;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name.empty() || name[0] == '.')
                continue;
            std::string path = folder + "/" + name;
            struct stat st;
            // Not through links: a link back up the tree would never end.
            if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                subfolders.push_back(path);
        }
        ::closedir(d);
    }
    std::sort(subfolders.begin(), subfolders.end());
    for (const auto& sub : subfolders)
        AddFolder(sub, true, files);
}

std::vector<std::string> FileCollector::Collect(const std::vector<std::string>& paths,
                                                bool recursive) {
    std::vector<std::string> files;
    for (std::string path : paths) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        struct stat st;
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            AddFolder(path, recursive, files);
        else
            files.push_back(path); // the probe says what is wrong with it
    }
    std::set<std::string> seen;
    std::vector<std::string> unique;
    for (auto& f : files) {
        if (seen.insert(f).second)
            unique.push_back(f);
    }
    return unique;
}
