#pragma once
// A desktop notification when a run ends while the window is not the active one,
// so a long batch behind other windows is not forgotten. The counts come from the
// row events the file list receives: a row that finishes was written; a row that
// fails after it went to the engine failed; one that fails before (its source was
// gone, or an earlier file took its output name) was refused.

#include <wx/event.h>

#include <set>

class StatusCellEvent;
class wxTopLevelWindow;
class wxWindow;

class RunEndNotifier : public wxEvtHandler {
public:
    struct Tally {
        int written = 0;
        int refused = 0;
        int failed = 0;
        bool stopped = false;
    };

    // Counts the row events that reach list from now on.
    void Watch(wxWindow* list);
    // The run has ended: once the list has had the run's last row events, tells the
    // desktop when window is not active, and starts counting afresh.
    void RunFinished(wxTopLevelWindow* window);

    // "2 written, 1 refused, 0 failed." with the run's outcome before it.
    static wxString Describe(const Tally& tally);

private:
    void OnRowStarted(wxCommandEvent& event);
    void OnRowState(StatusCellEvent& event);
    void Report(wxTopLevelWindow* window);

    Tally m_tally;
    std::set<int> m_startedRows;
};
