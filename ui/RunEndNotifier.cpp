#include "ui/RunEndNotifier.h"

#include "ui/run/StatusCellEvent.h"
#include "ui/run/JobEvents.h"
#include "core/AppUtil.h"
#include "core/DialogSeam.h"

#include <wx/toplevel.h>
#include <wx/translation.h>
#include <wx/weakref.h>

void RunEndNotifier::Watch(wxWindow* list) {
    // Bound after the list's own handlers, so these run first; they skip the event
    // on to the list.
    list->Bind(wxEVT_PZ_ROW_STARTED, &RunEndNotifier::OnRowStarted, this);
    list->Bind(wxEVT_PZ_STATUS_CELL, &RunEndNotifier::OnRowState, this);
}

void RunEndNotifier::RunFinished(wxTopLevelWindow* window) {
    // The worker queued the run's last row events to the list before the end of
    // the run reached the window; they are handled before this call comes back.
    wxWeakRef<wxTopLevelWindow> target(window);
    CallAfter([this, target] { Report(target.get()); });
}

wxString RunEndNotifier::Describe(const Tally& tally) {
    return wxString::Format(tally.stopped
                                ? _("Encryption stopped: %d written, %d refused, %d failed.")
                                : _("Encryption finished: %d written, %d refused, %d failed."),
                            tally.written, tally.refused, tally.failed);
}

void RunEndNotifier::OnRowStarted(wxCommandEvent& event) {
    m_startedRows.insert(event.GetInt());
    event.Skip();
}

void RunEndNotifier::OnRowState(StatusCellEvent& event) {
    switch (event.GetState()) {
    case CELL_FINISHED:
        ++m_tally.written;
        break;
    case CELL_FAIL:
        if (m_startedRows.count(event.GetRow()))
            ++m_tally.failed;
        else
            ++m_tally.refused;
        break;
    case CELL_STOP:
        m_tally.stopped = true;
        break;
    default:
        break;
    }
    event.Skip();
}

void RunEndNotifier::Report(wxTopLevelWindow* window) {
    const Tally tally = m_tally;
    m_tally = Tally();
    m_startedRows.clear();
    // A run that never got going (no output folder) has nothing to tell.
    const bool anything = tally.written + tally.refused + tally.failed > 0 || tally.stopped;
    if (!anything || !window || window->IsActive())
        return;
    DialogSeam::Get().Notify(AppUtil::GetProductName(), Describe(tally));
}
