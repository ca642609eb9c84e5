#pragma once
// The events between the batch run and the windows; the window ids they go to are
// in ui/WindowIds.h. All are command events queued to the receiver; the payloads
// are integers only.

#include "ui/run/StatusCellEvent.h"

#include <wx/event.h>

// To the top window: a run starts (GUI thread) / has ended (worker, payload 0,
// exactly once per run).
wxDECLARE_EVENT(wxEVT_PZ_JOB_STARTED, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_PZ_JOB_FINISHED, wxCommandEvent);
// To the top window: the output folder of a run does not exist; the window shows
// "Output directory doesn't exist." (nothing else of that run happens).
wxDECLARE_EVENT(wxEVT_PZ_OUTPUT_DIR_MISSING, wxCommandEvent);

// To the list panel (id 2007), payload the row: the file goes to the engine now.
wxDECLARE_EVENT(wxEVT_PZ_ROW_STARTED, wxCommandEvent);
// To the list panel, payload the row: the file was encrypted; set its done flag.
wxDECLARE_EVENT(wxEVT_PZ_ROW_DONE, wxCommandEvent);
// To the list panel at the end of a run that got going: statuses are on show.
wxDECLARE_EVENT(wxEVT_PZ_RESULTS_SHOWN, wxCommandEvent);
// To the list panel from the start button (id 2007, payload 1), and the selection
// commands.
wxDECLARE_EVENT(wxEVT_PZ_START_REQUEST, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_PZ_SELECT_ALL, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_PZ_INVERT_SELECTION, wxCommandEvent);

// To the output folder panel: browse button off (id 2037) / on again (id 2038).
wxDECLARE_EVENT(wxEVT_PZ_OUTPUT_LOCKED, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_PZ_OUTPUT_UNLOCKED, wxCommandEvent);

// To the security options pane (id 2004): disable while a run uses the options,
// enable again at its end.
wxDECLARE_EVENT(wxEVT_PZ_OPTIONS_LOCK, wxCommandEvent);
wxDECLARE_EVENT(wxEVT_PZ_OPTIONS_UNLOCK, wxCommandEvent);
