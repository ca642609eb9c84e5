#pragma once
// Encrypts the collected files with -j workers, each with its own engine service,
// prints one line per file and writes the same log records as the window's job.

#include "cli/CliSettings.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class TerminalProgress;

class CliBatchRunner {
public:
    // `progress` may be null (no terminal, or quiet).
    CliBatchRunner(const CliSettings& settings, FILE* out, TerminalProgress* progress);

    // 0 when every file was written, 1 otherwise.
    int Run(const std::vector<std::string>& files);

    // Asks the running files to stop (Ctrl-C); safe from a signal handler.
    static void RequestStop();

    // The text shown for an EncryptPdf result.
    static std::string DescribeResult(int32_t code);

private:
    struct Slot;
    static int32_t OnProgress(void* data, int32_t done, int32_t total);

    void Work(int slot, const std::vector<std::string>& files, const void* params);
    // One file; returns true when it was written.
    bool Process(struct PdfMSService* service, int slot, const std::string& source,
                 const void* params);
    // The refusal text for a probed file, or "" when it may be encrypted.
    static std::string Refusal(struct PdfMSService* service, const std::string& source);
    bool ClaimOutput(const std::string& output);
    void Print(const std::string& line, bool success);

    const CliSettings& m_settings;
    FILE* m_out;
    TerminalProgress* m_progress;
    std::atomic<size_t> m_next{0};
    std::atomic<int> m_failures{0};
    std::mutex m_mutex;
    std::set<std::string> m_outputs;
    bool m_parallel = false;
};
