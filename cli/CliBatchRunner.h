#pragma once
// Runs the collected files through the batch loop with -j jobs: gives each file its
// passwords (the command line's, its row of the password table, or a generated
// one), reports through the line printer, the JSON printer and the password
// report, and gives the exit status. A watch runs one batch after another between
// one Open and one Close.

#include "batch/BatchItem.h"
#include "batch/StopToken.h"
#include "cli/CliSettings.h"
#include "cli/FileCollector.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TerminalProgress;
class CliReporter;
class JsonReporter;
class PasswordReport;

class CliBatchRunner {
public:
    // `progress` may be null (no terminal, or quiet).
    CliBatchRunner(const CliSettings& settings, TerminalProgress* progress);
    ~CliBatchRunner();

    // One batch: 0 when every file was written, 1 otherwise, 2 when the report
    // cannot be created.
    int Run(const std::vector<CollectedFile>& files);

    // Creates the report; false (and says why) when it cannot be.
    bool Open();
    // Runs files as one batch; `idle` is called about ten times a second while they
    // run. True when every file was written.
    bool Batch(const std::vector<CollectedFile>& files, const std::function<void()>& idle);
    // Writes the JSON summary and closes the report; false when the report is incomplete.
    bool Close();

    // Keeps, for each file written, the output it got: when the file changes and is
    // taken again, that output is out of date and --overwrite never lets the new one
    // replace it (and only it). For a watch.
    void KeepOutputs() { m_keepOutputs = true; }
    // The file at path (or every file below the folder path) is gone: a new file of
    // that name is another document.
    void Forget(const std::string& path, bool folder);

    // Asks the running files to stop (Ctrl-C); safe from a signal handler.
    static void RequestStop();
    static bool StopRequested();

private:
    class Outputs;

    // The run's items; error lines for files that cannot take part.
    std::vector<BatchItem> MakeItems(const std::vector<CollectedFile>& files,
                                     std::vector<std::pair<std::string, std::string>>& errors);
    // The file's item, or its error line.
    void AddItem(const CollectedFile& file, std::vector<BatchItem>& items,
                 std::vector<std::pair<std::string, std::string>>& errors);

    const CliSettings& m_settings;
    TerminalProgress* m_progress;
    std::unique_ptr<CliReporter> m_reporter;
    std::unique_ptr<JsonReporter> m_json;
    std::unique_ptr<PasswordReport> m_report;
    std::unique_ptr<Outputs> m_outputs;
    bool m_keepOutputs = false;
    bool m_tableTaken = false;
    int32_t m_nextIndex = 0; // items of every batch have numbers of their own
};
