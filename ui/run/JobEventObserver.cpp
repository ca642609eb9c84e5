#include "ui/run/JobEventObserver.h"

#include "engine/api/EngineService.h"
#include "ui/WindowIds.h"
#include "ui/run/JobEvents.h"

JobEventObserver::JobEventObserver(std::shared_ptr<JobEventSink> sink, int32_t statusColumn,
                                   std::shared_ptr<RunProgress> progress)
    : m_sink(std::move(sink)), m_statusColumn(statusColumn), m_progress(std::move(progress)) {}

void JobEventObserver::PostCell(int32_t row, int32_t state, int payload, const wxString& text) {
    auto* event = new StatusCellEvent(wxEVT_PZ_STATUS_CELL, ID_FILE_LIST);
    event->SetRow(row);
    event->SetCol(m_statusColumn);
    event->SetState(state);
    event->SetInt(payload);
    event->SetString(text.Clone()); // crosses threads: share no buffer
    m_sink->Post(JobEventSink::FILE_LIST, event);
}

void JobEventObserver::OnRunStarted(const wxString&) {
    m_sink->PostCommand(JobEventSink::OUTPUT_PANEL, wxEVT_PZ_OUTPUT_LOCKED, ID_OUTPUT_LOCKED);
    m_sink->PostCommand(JobEventSink::OPTIONS_PANE, wxEVT_PZ_OPTIONS_LOCK, ID_OPTIONS_PANE);
}

void JobEventObserver::OnOutputDirMissing(const wxString&) {
    if (m_progress)
        m_progress->Ended(true);
    m_sink->PostCommand(JobEventSink::TOP_WINDOW, wxEVT_PZ_OUTPUT_DIR_MISSING, wxID_ANY);
}

void JobEventObserver::OnItemStarted(const BatchItem& item, int) {
    if (m_progress)
        m_progress->ItemStarted();
    m_sink->PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_ROW_STARTED, ID_FILE_LIST, item.index);
}

void JobEventObserver::OnItemProgress(const BatchItem& item, int, int percent) {
    if (m_progress)
        m_progress->ItemProgress(percent);
    PostCell(item.index, CELL_PROGRESS, percent);
}

void JobEventObserver::OnItemResult(const BatchItem& item, int, const ItemResult& result) {
    // A file the stop cut short was not written, but nothing went wrong with it.
    if (m_progress)
        m_progress->ItemResult(result.code == PDFMS_ERR_STOPPED ? ItemStatus::Stopped
                                                                : result.status);
    switch (result.status) {
    case ItemStatus::Finished:
        PostCell(item.index, CELL_FINISHED);
        m_sink->PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_ROW_DONE, ID_FILE_LIST, item.index);
        break;
    case ItemStatus::Stopped:
        PostCell(item.index, CELL_STOP);
        break;
    case ItemStatus::Failed:
    case ItemStatus::Refused:
        PostCell(item.index, CELL_FAIL, 0, result.shownMessage);
        break;
    }
}

void JobEventObserver::OnRunEnded(const RunSummary& summary) {
    if (m_progress)
        m_progress->Ended();
    // Closing: the statuses are not on show any more.
    if (!summary.abandoned)
        m_sink->PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_RESULTS_SHOWN, ID_FILE_LIST);
    // The options pane and the browse button come back, whether or not the windows
    // are still there.
    m_sink->PostCommand(JobEventSink::OPTIONS_PANE, wxEVT_PZ_OPTIONS_UNLOCK, ID_OPTIONS_PANE);
    m_sink->PostCommand(JobEventSink::OUTPUT_PANEL, wxEVT_PZ_OUTPUT_UNLOCKED, ID_OUTPUT_UNLOCKED);
}
