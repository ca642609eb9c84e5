#include "ui/WindowLookup.h"

#include <wx/app.h>
#include <wx/event.h>
#include <wx/toplevel.h>
#include <wx/window.h>

wxWindow* WindowLookup::FindInTopWindow(const wxWindow* from, int id) {
    if (!from)
        return nullptr;
    wxWindow* top = wxGetTopLevelParent(const_cast<wxWindow*>(from));
    if (!top)
        return nullptr;
    if (top->GetId() == id)
        return top;
    return wxWindow::FindWindowById(id, top);
}

bool WindowLookup::QueueCommand(const wxWindow* from, int targetId, int commandId) {
    wxWindow* target = FindInTopWindow(from, targetId);
    if (!target)
        return false;
    target->GetEventHandler()->QueueEvent(new wxCommandEvent(wxEVT_MENU, commandId));
    return true;
}
