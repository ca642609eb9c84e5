#pragma once
// What the command line asks for, after parsing and checking.

#include "batch/EncryptOptions.h"
#include "batch/OutputPlanner.h"

#include <memory>
#include <string>
#include <vector>

class PasswordTable;

struct CliSettings {
    std::vector<std::string> paths; // files and folders as given, then those of --files-from
    std::string outputDir;          // without trailing "/"
    bool recursive = false;
    int jobs = 1;
    bool quiet = false;
    bool json = false;
    bool preserveTime = false;
    std::string suffix = "_encryption";
    OverwritePolicy overwrite = OverwritePolicy::Never;
    RunOptions run; // passwords, level and permissions as the window would hold them
    // The command line gave passwords of its own (else only listed files are taken).
    bool hasPasswords = true;
    std::shared_ptr<PasswordTable> table; // --passwords-csv
    bool generatePasswords = false;
    std::string reportPath;
    std::vector<std::string> watch; // hot folders, without trailing "/"
    double settle = 2.0;            // seconds a watched file must stay unchanged
};
