#pragma once
// The window's side of a run: every report of the batch loop becomes the event the
// window has always received, queued through the sink, so the worker never
// touches a window.

#include "batch/BatchObserver.h"
#include "ui/run/JobEventSink.h"
#include "ui/run/RunProgress.h"

#include <memory>

class JobEventObserver : public BatchObserver {
public:
    // progress: counted as well, when not null.
    JobEventObserver(std::shared_ptr<JobEventSink> sink, int32_t statusColumn,
                     std::shared_ptr<RunProgress> progress = nullptr);

    void OnRunStarted(const wxString& outputDir) override;
    void OnOutputDirMissing(const wxString& outputDir) override;
    void OnItemStarted(const BatchItem& item, int slot) override;
    void OnItemProgress(const BatchItem& item, int slot, int percent) override;
    void OnItemResult(const BatchItem& item, int slot, const ItemResult& result) override;
    void OnRunEnded(const RunSummary& summary) override;

private:
    // A cell render command for the item's status cell; a failure carries its reason.
    void PostCell(int32_t row, int32_t state, int payload = 0, const wxString& text = wxString());

    std::shared_ptr<JobEventSink> m_sink;
    int32_t m_statusColumn;
    std::shared_ptr<RunProgress> m_progress;
};
