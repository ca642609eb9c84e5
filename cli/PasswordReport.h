#pragma once
// The --report file of --generate-passwords: "source,output,user,owner" rows for
// every file that was written, the owner password as the output has it (the user's
// when none was given). Created new (never over an existing file or through a link)
// and readable by its owner only; it is the one place a generated password is kept,
// so the run keeps its outputs off it as it does off its sources.

#include "batch/BatchObserver.h"

#include <cstdio>
#include <mutex>
#include <string>

class PasswordReport : public BatchObserver {
public:
    ~PasswordReport() override;

    // "" or why the file cannot be created.
    std::string Create(const std::string& path);
    void OnItemResult(const BatchItem& item, int slot, const ItemResult& result) override;
    // Flushes to disk; false when a write failed.
    bool Close();

private:
    void Write(const std::string& text);

    std::mutex m_mutex;
    int m_fd = -1;
    bool m_failed = false;
};
