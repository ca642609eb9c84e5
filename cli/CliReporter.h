#pragma once
// The command line's side of a run: one line per file on the output stream and the
// progress display on the terminal.

#include "batch/BatchObserver.h"

#include <cstdio>
#include <mutex>

class TerminalProgress;

class CliReporter : public BatchObserver {
public:
    // Lines go to `out`; refusals and failures to `errors` as well (may be null).
    // `progress` may be null (no terminal, or quiet). With `quiet`, written files
    // print nothing.
    CliReporter(FILE* out, FILE* errors, TerminalProgress* progress, bool quiet);

    void OnItemStarted(const BatchItem& item, int slot) override;
    void OnItemProgress(const BatchItem& item, int slot, int percent) override;
    void OnItemResult(const BatchItem& item, int slot, const ItemResult& result) override;

    // Redraws the progress line; the run's own thread calls it ten times a second.
    void Draw();
    void ClearProgress();
    // A file that could not take part in the run.
    void Error(const std::string& line);

private:
    void Print(const wxString& line, bool failure);

    FILE* m_out;
    FILE* m_errors;
    TerminalProgress* m_progress;
    bool m_quiet;
    std::mutex m_mutex; // one line at a time, never torn by the progress line
};
