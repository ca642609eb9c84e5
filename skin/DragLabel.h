#pragma once
// A label that drags a top-level window: every press on it starts a drag.

#include "skin/WindowDragger.h"
#include "skin/TransparentLabel.h"

class DragLabel : public TransparentLabel {
public:
    DragLabel(wxWindow* parent, wxBitmap* parentPicture, const wxString& text,
              wxWindow* movedWindow, wxWindowID id, const wxPoint& pos, const wxFont& font,
              const wxColour& colour);

private:
    wxWindow* m_movedWindow = nullptr;
    WindowDragger m_dragger;
};
