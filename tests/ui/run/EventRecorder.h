#pragma once
// Stands in for the windows: records every batch event it receives on the main
// thread, and pumps the pending-event queue until a condition holds.

#include "ui/run/StatusCellEvent.h"

#include <wx/event.h>

#include <functional>
#include <string>
#include <vector>

struct RecordedEvent {
    wxEventType type = wxEVT_NULL;
    int id = 0;
    int payload = 0;
    int row = -1;
    int col = -1;
    int state = -1;
    std::string text; // a failure's reason
};

class EventRecorder : public wxEvtHandler {
public:
    EventRecorder();

    const std::vector<RecordedEvent>& Events() const { return m_events; }
    size_t Count(wxEventType type) const;
    // Cell render commands for one row, in order of arrival.
    std::vector<RecordedEvent> CellsForRow(int row) const;
    std::vector<int> Payloads(wxEventType type) const;

private:
    void OnEvent(wxCommandEvent& event);

    std::vector<RecordedEvent> m_events;
};

// Delivers queued events until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Delivers queued events for a while, for checks that nothing more arrives.
void PumpFor(int milliseconds);
