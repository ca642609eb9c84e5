#pragma once
// A shell runner and the independent readers' view of a written file (poppler,
// qpdf, MuPDF), shared by the engine and command-line tests.

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
// The same, trying the password only as the owner password: opens only when it is
// one, and then with full rights.
PopplerView ReadWithPopplerAsOwner(const std::string& path, const std::string& ownerPassword);

// What qpdf makes of a password ("" for none).
struct QpdfView {
    bool opened = false; // the password (or none) opens the file
    bool owner = false;  // ... as its owner password
    std::string shown;   // --show-encryption's report
};
QpdfView ReadWithQpdf(const std::string& path, const std::string& password);

// Whether MuPDF opens the file with password ("" for none).
bool OpensWithMuPdf(const std::string& path, const std::string& password);
