#pragma once
// The update-result event and the main window's link to the update relay.
//
// EVT_UPDATE_RESULT: a wxCommandEvent with window id 0 whose string is the latest
// published version, or empty for every kind of failure. Handle it with
// Bind(EVT_UPDATE_RESULT, ...) or the event table entry
// EVT_COMMAND(wxID_ANY, EVT_UPDATE_RESULT, MainWindow::OnUpdateResult), and
// show it with ShowUpdateResult (update/UpdateResultView.h).
//
// The main window calls AttachUpdateResultTarget(this) when it is created and
// DetachUpdateResultTarget() before it is destroyed (its destructor or close
// handler; the application's OnExit may call it again, it is harmless). Results
// of checks still running after the detach are dropped.

#include <wx/event.h>

wxDECLARE_EVENT(EVT_UPDATE_RESULT, wxCommandEvent);

// Results are queued to handler as EVT_UPDATE_RESULT from now on. GUI thread.
void AttachUpdateResultTarget(wxEvtHandler* handler);
// Results are dropped from now on. GUI thread.
void DetachUpdateResultTarget();
