#pragma once
// Runs the collected files through the batch loop with -j jobs, reporting through
// CliReporter, and gives the exit status.

#include "batch/StopToken.h"
#include "cli/CliSettings.h"

#include <cstdio>
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

private:
    const CliSettings& m_settings;
    FILE* m_out;
    TerminalProgress* m_progress;
};
