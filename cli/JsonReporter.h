#pragma once
// --json: one JSON object per file on the output stream, then a summary object, so
// scripts read results without parsing sentences.
//
//   {"source":...,"output":...|null,
//    "status":"written|failed|refused|stopped|not_started","code":N|null,
//    "message":...,"pages":N|null,"bytes_in":N|null,"bytes_out":N|null,
//    "milliseconds":N,"writer":"one-pass|qpdf"|null,"reason":"..."|null}
//   (reason: why that writer, in the engine's short words: engine/host/WriterChoice.h)
//   {"summary":{"files":N,"written":N,"failed":N,"refused":N,"stopped":N,
//               "not_started":N}}
//
// After a stop every file still has its object: "stopped" for a file the stop
// interrupted, "not_started" for one it never reached. The summary counts the
// objects written, so the two always agree. A watch runs one batch after another:
// each object comes as its file is done (the line is flushed), the one summary at
// the end.
//
// Names that are not UTF-8 appear with their odd bytes written as \xNN, as in the log.

#include "batch/BatchObserver.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class JsonReporter : public BatchObserver {
public:
    explicit JsonReporter(FILE* out);

    // The files of the run about to start, so that those it never reaches get their
    // object when it ends.
    void Expect(const std::vector<BatchItem>& items);
    void OnItemResult(const BatchItem& item, int slot, const ItemResult& result) override;
    void OnRunEnded(const RunSummary& summary) override;
    // A file the run never saw (one it cannot take part in).
    void Missing(const std::string& source, const std::string& message);
    // The summary object, over every run; written last.
    void Summary();

    static std::string Quote(const std::string& text);

private:
    void Line(const std::string& status, const std::string& json);

    FILE* m_out;
    std::mutex m_mutex;
    std::map<int32_t, wxString> m_waiting; // items without an object yet, by index
    std::map<std::string, int> m_counts;   // objects written, by status
};
