#pragma once
// Turns the PATH arguments into the list of files to encrypt, as a drop on the
// list would: a file is taken whatever its name; a folder gives the PDF files
// directly inside it (extension compared lower-cased), or below it with recursion.

#include <string>
#include <vector>

struct CollectedFile {
    std::string path;
    // With recursion: the file's folder relative to the argument it came from, so
    // the output tree mirrors the input tree ("" directly in the argument).
    std::string subfolder;
};

class FileCollector {
public:
    // Files in argument order, each folder's files sorted; a path named twice is
    // taken once. `outputDir` is never descended into: a run must not read back its
    // own outputs.
    static std::vector<CollectedFile> Collect(const std::vector<std::string>& paths, bool recursive,
                                              const std::string& outputDir);

private:
    static void AddFolder(const std::string& folder, const std::string& subfolder, bool recursive,
                          const std::string& outputDir, std::vector<CollectedFile>& files);
};
