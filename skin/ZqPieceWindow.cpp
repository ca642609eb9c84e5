#include "skin/ZqPieceWindow.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>

wxIMPLEMENT_DYNAMIC_CLASS(ZqPieceWindow, wxPanel);

wxBEGIN_EVENT_TABLE(ZqPieceWindow, wxPanel)
    EVT_PAINT(ZqPieceWindow::OnPaint)
wxEND_EVENT_TABLE()

ZqPieceWindow::ZqPieceWindow(wxWindow* parent, wxBitmap* background, wxWindowID id,
                             const wxPoint& pos, const wxSize& size, long style,
                             const wxString& name) {
    Create(parent, background, id, pos, size, style, name);
}

ZqPieceWindow::~ZqPieceWindow() {
    delete m_bitmap;
}

bool ZqPieceWindow::Create(wxWindow* parent, wxBitmap* background, wxWindowID id,
                           const wxPoint& pos, const wxSize& size, long style,
                           const wxString& name) {
    if (!wxPanel::Create(parent, id, pos, size, style, name))
        return false;
    SetBitmap(background);
    return true;
}

void ZqPieceWindow::SetBitmap(wxBitmap* bitmap) {
    if (bitmap != m_bitmap)
        delete m_bitmap;
    m_bitmap = bitmap;
}

void ZqPieceWindow::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_bitmap && m_bitmap->IsOk())
        dc.DrawBitmap(*m_bitmap, 0, 0, true);
}
