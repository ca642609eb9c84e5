#include "skin/ZlTitleLabel.h"

wxBEGIN_EVENT_TABLE(ZlTitleLabel, ZlStaticLabel) EVT_LEFT_DOWN(ZlTitleLabel::OnLeftDown)
    EVT_LEFT_UP(ZlTitleLabel::OnLeftUp) EVT_MOTION(ZlTitleLabel::OnMotion)
        EVT_MOUSE_CAPTURE_LOST(ZlTitleLabel::OnCaptureLost) wxEND_EVENT_TABLE()

            ZlTitleLabel::ZlTitleLabel(wxWindow* parent, wxBitmap* parentPicture,
                                       const wxString& text, wxWindow* movedWindow, wxWindowID id,
                                       const wxPoint& pos, const wxFont& font,
                                       const wxColour& colour)
    : ZlStaticLabel(parentPicture, text, parent, id, pos, font, colour),
      m_movedWindow(movedWindow) {}

void ZlTitleLabel::OnLeftDown(wxMouseEvent& event) {
    if (!m_movedWindow)
        return;
    if (!HasCapture())
        CaptureMouse();
    wxPoint screen = ClientToScreen(event.GetPosition());
    wxPoint origin = m_movedWindow->GetPosition();
    m_dragOffset = wxSize(screen.x - origin.x, screen.y - origin.y);
}

void ZlTitleLabel::OnLeftUp(wxMouseEvent&) {
    if (HasCapture())
        ReleaseMouse();
}

void ZlTitleLabel::OnMotion(wxMouseEvent& event) {
    if (!m_movedWindow || !event.Dragging() || !event.LeftIsDown() || !HasCapture())
        return;
    wxPoint screen = ClientToScreen(event.GetPosition());
    m_movedWindow->Move(screen.x - m_dragOffset.GetWidth(), screen.y - m_dragOffset.GetHeight());
}

void ZlTitleLabel::OnCaptureLost(wxMouseCaptureLostEvent&) {
    // The drag ends; nothing else to restore.
}
