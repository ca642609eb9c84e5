#include "skin/SkinPanel.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>

wxIMPLEMENT_DYNAMIC_CLASS(SkinPanel, wxPanel);

wxBEGIN_EVENT_TABLE(SkinPanel, wxPanel)
    EVT_PAINT(SkinPanel::OnPaint)
wxEND_EVENT_TABLE()

SkinPanel::SkinPanel(wxWindow* parent, wxBitmap* background, wxWindowID id, const wxPoint& pos,
                     const wxSize& size, long style, const wxString& name) {
    Create(parent, background, id, pos, size, style, name);
}

SkinPanel::~SkinPanel() {
    delete m_bitmap;
}

bool SkinPanel::Create(wxWindow* parent, wxBitmap* background, wxWindowID id, const wxPoint& pos,
                       const wxSize& size, long style, const wxString& name) {
    if (!wxPanel::Create(parent, id, pos, size, style, name))
        return false;
    SetBitmap(background);
    return true;
}

void SkinPanel::SetBitmap(wxBitmap* bitmap) {
    if (bitmap != m_bitmap)
        delete m_bitmap;
    m_bitmap = bitmap;
}

void SkinPanel::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_bitmap && m_bitmap->IsOk())
        dc.DrawBitmap(*m_bitmap, 0, 0, true);
}
