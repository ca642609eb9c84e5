#pragma once
// --json: one JSON object per file on the output stream, then a summary object, so
// scripts read results without parsing sentences.
//
//   {"source":...,"output":...,"status":"written|failed|refused|stopped","code":N,
//    "message":...,"pages":N|null,"bytes_in":N|null,"bytes_out":N|null,
//    "milliseconds":N,"writer":"one-pass|qpdf"|null,"reason":"..."|null}
//   (reason: why that writer, in the engine's short words: engine/host/WriterChoice.h)
//   {"summary":{"files":N,"written":N,"failed":N,"refused":N,"stopped":N,
//               "not_started":N}}
//
// Names that are not UTF-8 appear with their odd bytes written as \xNN, as in the log.

#include "batch/BatchObserver.h"

#include <cstdio>
#include <mutex>
#include <string>

class JsonReporter : public BatchObserver {
public:
    explicit JsonReporter(FILE* out);

    void OnItemResult(const BatchItem& item, int slot, const ItemResult& result) override;
    void OnRunEnded(const RunSummary& summary) override;
    // A file the run never saw (a table row naming a missing file).
    void Missing(const std::string& source, const std::string& message);

    static std::string Quote(const std::string& text);

private:
    void Line(const std::string& json);

    FILE* m_out;
    std::mutex m_mutex;
    int m_missing = 0;
};
