#pragma once
// Runs the collected files through the batch loop with -j jobs: gives each file its
// passwords (the command line's, its row of the password table, or a generated
// one), reports through the line printer, the JSON printer and the password
// report, and gives the exit status.

#include "batch/BatchItem.h"
#include "batch/StopToken.h"
#include "cli/CliSettings.h"
#include "cli/FileCollector.h"

#include <string>
#include <vector>

class TerminalProgress;

class CliBatchRunner {
public:
    // `progress` may be null (no terminal, or quiet).
    CliBatchRunner(const CliSettings& settings, TerminalProgress* progress);

    // 0 when every file was written, 1 otherwise.
    int Run(const std::vector<CollectedFile>& files);

    // Asks the running files to stop (Ctrl-C); safe from a signal handler.
    static void RequestStop();

private:
    // The run's items; error lines for files that cannot take part.
    std::vector<BatchItem> MakeItems(const std::vector<CollectedFile>& files,
                                     std::vector<std::pair<std::string, std::string>>& errors);

    const CliSettings& m_settings;
    TerminalProgress* m_progress;
};
