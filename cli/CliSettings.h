#pragma once
// What the command line asks for, after parsing and checking.

#include "batch/EncryptOptions.h"

#include <string>
#include <vector>

struct CliSettings {
    std::vector<std::string> paths; // files and folders as given
    std::string outputDir;          // without trailing "/"
    bool recursive = false;
    int jobs = 1;
    bool quiet = false;
    RunOptions run; // passwords, level and permissions as the window would hold them
};
