#pragma once
// Parses and checks the command line of pdfzerovovor-cli.

#include "cli/CliSettings.h"

#include <iosfwd>
#include <string>

class CliOptions {
public:
    enum Result {
        Run,        // settings are complete and checked
        Done,       // --help or --version was answered
        UsageError, // message holds the reason
    };

    // `input` is read for a password file named "-".
    static Result Parse(int argc, const char* const* argv, std::istream& input,
                        CliSettings& settings, std::string& message);
};
