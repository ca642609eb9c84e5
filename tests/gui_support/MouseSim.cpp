#include "MouseSim.h"

#include <wx/window.h>

bool SendMouse(wxWindow* window, wxEventType type, const wxPoint& pos, bool leftIsDown,
               bool controlDown) {
    wxMouseEvent event(type);
    event.SetEventObject(window);
    event.SetId(window->GetId());
    event.SetPosition(pos);
    bool pressing = type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK;
    event.SetLeftDown(pressing || (leftIsDown && type != wxEVT_LEFT_UP));
    event.SetControlDown(controlDown);
    return window->GetEventHandler()->ProcessEvent(event);
}

void ClickAt(wxWindow* window, const wxPoint& pos) {
    SendMouse(window, wxEVT_LEFT_DOWN, pos);
    SendMouse(window, wxEVT_LEFT_UP, pos);
}
