#pragma once
// Installs a g_option read from a fresh option file for one test and removes it
// afterwards, so the commands see known addresses.

#include "TempDir.h"

#include <string>

class OptionFileFixture {
public:
    // updateBase is value 5; the check downloads updateBase + "-update.xml".
    explicit OptionFileFixture(const std::string& updateBase = "http://127.0.0.1:1/none");
    ~OptionFileFixture();
    OptionFileFixture(const OptionFileFixture&) = delete;
    OptionFileFixture& operator=(const OptionFileFixture&) = delete;

    static constexpr const char* kHelpUrl = "https://help.example.test/pdf";
    static constexpr const char* kSupportUrl = "https://support.example.test/pdf";
    static constexpr const char* kDownloadUrl = "https://download.example.test/pdf.exe";

private:
    TempDir m_dir;
};
