#include "skin/DragLabel.h"

DragLabel::DragLabel(wxWindow* parent, wxBitmap* parentPicture, const wxString& text,
                     wxWindow* movedWindow, wxWindowID id, const wxPoint& pos, const wxFont& font,
                     const wxColour& colour)
    : TransparentLabel(parentPicture, text, parent, id, pos, font, colour),
      m_movedWindow(movedWindow) {
    if (m_movedWindow)
        m_dragger.Attach(this, m_movedWindow);
}
