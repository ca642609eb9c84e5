#pragma once
// What a run reports to its front end. The window turns the calls into queued
// events, the command line into lines and a progress display; both see the same
// run because both watch the same loop.
//
// Calls come from the run's worker threads; with more than one job they may come
// from several threads at once. OnRunStarted and OnRunEnded pair up; a run whose
// output folder is missing gets OnOutputDirMissing and nothing else.

#include "batch/BatchItem.h"

#include <wx/string.h>

#include <cstdint>
#include <string>

enum class ItemStatus {
    Finished, // written
    Failed,   // the engine, the source or the output name stood in the way
    Refused,  // the file is not one the run may encrypt (checked first)
    Stopped   // a stop came before the file was started
};

struct ItemResult {
    ItemStatus status = ItemStatus::Failed;
    int32_t code = 0;      // 0, an engine result, or kItemMissing / kItemNameTaken
    wxString message;      // why, in English (the JSON report's words); empty when written
    wxString shownMessage; // the same in the user's language, for the window and terminal
    wxString output;       // the output path, once known
    int32_t writer = 0;    // PDFMS_WRITER_*: which engine writer made the output
    std::string reason;    // ... and why that one, in the engine's short words
    int32_t pages = -1;    // when the file was checked first
    int64_t bytesIn = -1;
    int64_t bytesOut = -1;
    int64_t milliseconds = 0; // in the engine
};

struct RunSummary {
    int written = 0;
    int failed = 0;
    int refused = 0;
    int stopped = 0;
    int skipped = 0;        // done by an earlier run
    int notStarted = 0;     // left when the run stopped
    bool abandoned = false; // the program is closing: the last file has no result

    // One more file with this result.
    void Count(ItemStatus status) {
        switch (status) {
        case ItemStatus::Finished:
            ++written;
            break;
        case ItemStatus::Failed:
            ++failed;
            break;
        case ItemStatus::Refused:
            ++refused;
            break;
        case ItemStatus::Stopped:
            ++stopped;
            break;
        }
    }
};

class BatchObserver {
public:
    virtual ~BatchObserver() = default;

    virtual void OnRunStarted(const wxString& /*outputDir*/) {}
    virtual void OnOutputDirMissing(const wxString& /*outputDir*/) {}
    // The file goes to the engine now. slot: 0 to jobs - 1, the worker doing it.
    virtual void OnItemStarted(const BatchItem& /*item*/, int /*slot*/) {}
    // 0 to 100; a percentage is reported once.
    virtual void OnItemProgress(const BatchItem& /*item*/, int /*slot*/, int /*percent*/) {}
    virtual void OnItemResult(const BatchItem& /*item*/, int /*slot*/,
                              const ItemResult& /*result*/) {}
    virtual void OnRunEnded(const RunSummary& /*summary*/) {}
};
