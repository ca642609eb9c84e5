#pragma once
// A label that drags a top-level window: every press on it starts a drag.

#include "skin/ZlStaticLabel.h"

class ZlTitleLabel : public ZlStaticLabel {
public:
    ZlTitleLabel(wxWindow* parent, wxBitmap* parentPicture, const wxString& text,
                 wxWindow* movedWindow, wxWindowID id, const wxPoint& pos, const wxFont& font,
                 const wxColour& colour);

    wxWindow* GetMovedWindow() const { return m_movedWindow; }

protected:
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

private:
    wxWindow* m_movedWindow = nullptr;
    wxSize m_dragOffset;

    wxDECLARE_EVENT_TABLE();
};
