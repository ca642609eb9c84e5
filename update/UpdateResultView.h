#pragma once
// Shows the outcome of an update check: the main window's EVT_UPDATE_RESULT
// handler just calls ShowUpdateResult(this, event.GetString()).

class wxString;
class wxWindow;

// Empty version: the failure box. A version newer than ours: the Yes/No question
// (parent mainWindow) that opens the download page on Yes. Otherwise: the box
// saying that our own version is the latest. Every box goes through DialogSeam.
void ShowUpdateResult(wxWindow* mainWindow, const wxString& version);
