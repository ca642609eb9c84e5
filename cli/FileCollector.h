#pragma once
// Turns the PATH arguments into the list of files to encrypt, as a drop on the
// list would: a file is taken whatever its name; a folder gives the PDF files
// directly inside it (extension compared lower-cased), or below it with recursion.

#include <string>
#include <vector>

class FileCollector {
public:
    // Files in argument order, each folder's files sorted; a path named twice is
    // taken once.
    static std::vector<std::string> Collect(const std::vector<std::string>& paths, bool recursive);

private:
    static void AddFolder(const std::string& folder, bool recursive,
                          std::vector<std::string>& files);
};
