#include "EventRecorder.h"

#include "ui/run/JobEvents.h"

#include <wx/app.h>

#include <chrono>
#include <thread>

EventRecorder::EventRecorder() {
    const wxEventTypeTag<wxCommandEvent> commands[] = {
        wxEVT_PZ_JOB_STARTED,   wxEVT_PZ_JOB_FINISHED,    wxEVT_PZ_OUTPUT_DIR_MISSING,
        wxEVT_PZ_ROW_STARTED,   wxEVT_PZ_ROW_DONE,        wxEVT_PZ_RESULTS_SHOWN,
        wxEVT_PZ_OUTPUT_LOCKED, wxEVT_PZ_OUTPUT_UNLOCKED, wxEVT_PZ_OPTIONS_LOCK,
        wxEVT_PZ_OPTIONS_UNLOCK};
    for (const auto& type : commands)
        Bind(type, &EventRecorder::OnEvent, this);
    Bind(wxEVT_PZ_STATUS_CELL, &EventRecorder::OnEvent, this);
}

void EventRecorder::OnEvent(wxCommandEvent& event) {
    RecordedEvent record;
    record.type = event.GetEventType();
    record.id = event.GetId();
    record.payload = event.GetInt();
    record.text = event.GetString().utf8_string();
    // A queued event is a Clone(); losing the subclass would lose the cell.
    if (auto* cell = dynamic_cast<StatusCellEvent*>(&event)) {
        record.row = cell->GetRow();
        record.col = cell->GetCol();
        record.state = cell->GetState();
    }
    m_events.push_back(record);
}

size_t EventRecorder::Count(wxEventType type) const {
    size_t count = 0;
    for (const RecordedEvent& event : m_events)
        count += event.type == type;
    return count;
}

std::vector<RecordedEvent> EventRecorder::CellsForRow(int row) const {
    std::vector<RecordedEvent> cells;
    for (const RecordedEvent& event : m_events)
        if (event.type == wxEVT_PZ_STATUS_CELL && event.row == row)
            cells.push_back(event);
    return cells;
}

std::vector<int> EventRecorder::Payloads(wxEventType type) const {
    std::vector<int> payloads;
    for (const RecordedEvent& event : m_events)
        if (event.type == type)
            payloads.push_back(event.payload);
    return payloads;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        wxAppConsole::GetInstance()->ProcessPendingEvents();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void PumpFor(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}
