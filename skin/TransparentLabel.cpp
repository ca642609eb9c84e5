#include "skin/TransparentLabel.h"

#include "skin/ImageUtil.h"
#include "skin/SkinLook.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>

wxIMPLEMENT_DYNAMIC_CLASS(TransparentLabel, wxControl);

wxBEGIN_EVENT_TABLE(TransparentLabel, wxControl)
    EVT_PAINT(TransparentLabel::OnPaint)
    EVT_ERASE_BACKGROUND(TransparentLabel::OnEraseBackground)
wxEND_EVENT_TABLE()

TransparentLabel::TransparentLabel(wxBitmap* parentPicture, const wxString& text, wxWindow* parent,
                                   wxWindowID id, const wxPoint& pos, const wxFont& font,
                                   const wxColour& colour) {
    Create(parentPicture, text, parent, id, pos, font, colour);
}

bool TransparentLabel::Create(wxBitmap* parentPicture, const wxString& text, wxWindow* parent,
                              wxWindowID id, const wxPoint& pos, const wxFont& font,
                              const wxColour& colour) {
    m_parentPicture = parentPicture;
    m_text = text;
    m_font = font;
    m_colour = colour;
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    if (!wxControl::Create(parent, id, pos, wxSize(1, 1), wxBORDER_NONE, wxDefaultValidator,
                           wxControlNameStr))
        return false;
    FitToText();
    return true;
}

void TransparentLabel::FitToText() {
    SetSize(DoGetBestSize());
    InvalidateBestSize();
}

wxSize TransparentLabel::DoGetBestSize() const {
    int width = 0;
    int height = 0;
    GetTextExtent(m_text.empty() ? wxString(" ") : m_text, &width, &height, nullptr, nullptr,
                  m_font.IsOk() ? &m_font : nullptr);
    if (m_text.empty())
        width = 1;
    return wxSize(width, height);
}

void TransparentLabel::SetText(const wxString& text) {
    m_text = text;
    FitToText();
    Refresh(true);
    Update();
}

bool TransparentLabel::SetFont(const wxFont& font) {
    m_font = font;
    bool changed = wxControl::SetFont(font);
    FitToText();
    Refresh(true);
    Update();
    return changed;
}

void TransparentLabel::DoEnable(bool enable) {
    wxControl::DoEnable(enable);
    Refresh(true);
}

void TransparentLabel::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_font.IsOk())
        dc.SetFont(m_font);
    dc.SetTextForeground(IsEnabled() ? m_colour : SkinLook::DisabledTextColour());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.DrawText(m_text, 0, 0);
}

void TransparentLabel::OnEraseBackground(wxEraseEvent& event) {
    if (m_parentPicture)
        ImageUtil::DrawPieceUnder(this, *m_parentPicture, event.GetDC());
}
