#include "update/UpdateResultEvent.h"

#include "update/UpdateResultRelay.h"

wxDEFINE_EVENT(EVT_UPDATE_RESULT, wxCommandEvent);

void AttachUpdateResultTarget(wxEvtHandler* handler) {
    if (!handler) {
        UpdateResultRelay::Detach();
        return;
    }
    UpdateResultRelay::Attach([handler](const wxString& version) {
        auto* event = new wxCommandEvent(EVT_UPDATE_RESULT, 0);
        // A deep copy: the text crosses threads.
        event->SetString(wxString(version.wc_str()));
        handler->QueueEvent(event);
    });
}

void DetachUpdateResultTarget() {
    UpdateResultRelay::Detach();
}
