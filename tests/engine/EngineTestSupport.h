#pragma once
// Shared pieces of the engine tests: the host program of this build, a shell
// runner and poppler's view of a written file.

#include "batch/PdfMSService.h"

#include <gtest/gtest.h>
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

// Points the engine at the host program of this build and clears its state.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

PdfMSEncryptParams MakeParams(int level, const char* user, const char* owner);
