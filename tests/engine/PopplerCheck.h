#pragma once
// A shell runner and poppler's view of a written file, shared by the engine and
// command-line tests.

#include <string>

struct CommandResult {
    int status = -1;
    std::string output; // stdout and stderr together
};

CommandResult RunCommand(const std::string& command);
std::string ShellQuote(const std::string& s);

// What pdfinfo reports for a file opened with an optional user password.
struct PopplerView {
    bool opened = false;
    int pages = -1;
    bool encrypted = false;
    std::string permissions; // "print:no copy:yes change:no addNotes:no algorithm:AES"
};
PopplerView ReadWithPoppler(const std::string& path, const std::string& userPassword = "");
