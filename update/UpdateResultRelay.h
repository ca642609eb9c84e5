#pragma once
// Carries the outcome of an update check from its worker thread to the window
// that shows it. The main frame attaches itself when it is created and detaches
// before it is destroyed (and shutdown detaches in any case); a result that
// arrives while nothing is attached is dropped, so no check still running at
// exit can post to a destroyed window. Detaching also asks running downloads to
// stop, so they do not hold the process up.
//
// The event: type EVT_UPDATE_RESULT, a wxCommandEvent with window id 0 whose
// string is the latest published version, or empty for every kind of failure.
// Handle it with Bind(EVT_UPDATE_RESULT, ...) or the event table entry
// EVT_COMMAND(wxID_ANY, EVT_UPDATE_RESULT, MainFrame::OnUpdateResult).

#include <wx/event.h>

wxDECLARE_EVENT(EVT_UPDATE_RESULT, wxCommandEvent);

class UpdateResultRelay {
public:
    // Results go to handler from now on (replaces an earlier target). Any thread.
    static void Attach(wxEvtHandler* handler);
    // Results are dropped from now on; running checks are asked to stop.
    static void Detach();
    // Queues the result event to the attached target; false when it was dropped.
    // Any thread.
    static bool Deliver(const wxString& version);

    // A number that changes at every Detach; a check compares the value it
    // started with to learn that its result is no longer wanted.
    static unsigned long GetGeneration();
};

// The names the main frame uses.
void AttachUpdateResultTarget(wxEvtHandler* handler);
void DetachUpdateResultTarget();
