#pragma once
// Synthetic mouse events delivered through a window's event handler, as the
// toolkit would deliver real ones (no pointer or X server involved).

#include <wx/event.h>
#include <wx/gdicmn.h>

class wxWindow;

// Sends one mouse event of type at pos (client coordinates of window); the left
// button state follows the event type (down for presses and drags). Returns true
// when a handler processed it.
bool SendMouse(wxWindow* window, wxEventType type, const wxPoint& pos = wxPoint(1, 1),
               bool leftIsDown = false, bool controlDown = false);

// Press and release at pos.
void ClickAt(wxWindow* window, const wxPoint& pos = wxPoint(1, 1));
