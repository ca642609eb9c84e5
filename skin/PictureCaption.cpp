#include "skin/PictureCaption.h"

#include "skin/SkinLook.h"

#include <wx/dcclient.h>

#include <algorithm>

wxIMPLEMENT_DYNAMIC_CLASS(PictureCaption, wxControl);

wxBEGIN_EVENT_TABLE(PictureCaption, wxControl)
    EVT_PAINT(PictureCaption::OnPaint)
    EVT_ERASE_BACKGROUND(PictureCaption::OnEraseBackground)
wxEND_EVENT_TABLE()

PictureCaption::PictureCaption(wxWindow* parent, wxWindowID id, const wxString& text,
                               const wxFont& font, const wxBitmap& backgroundPiece,
                               const wxPoint& pos, const wxSize& size, long style,
                               const wxValidator& validator)
    : m_backgroundPiece(backgroundPiece), m_font(font), m_text(text) {
    Create(parent, id, pos, size, style, validator);
}

bool PictureCaption::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                            long style, const wxValidator& validator) {
    // The picture is drawn by the erase handler.
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    return wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr);
}

PictureCaption* PictureCaption::SetAutoResize(bool autoResize) {
    m_autoResize = autoResize;
    return this;
}

void PictureCaption::SetBackgroundPiece(const wxBitmap& piece) {
    m_backgroundPiece = piece;
}

void PictureCaption::SetTextColour(const wxColour& colour) {
    m_textColour = colour;
    Refresh(true);
}

void PictureCaption::SetTextInset(int inset) {
    m_textInset = inset;
    Refresh(true);
}

void PictureCaption::SetText(const wxString& text) {
    m_text = text;
    if (m_autoResize) {
        int width = 0;
        int height = 0;
        GetTextExtent(m_text, &width, &height, nullptr, nullptr, m_font.IsOk() ? &m_font : nullptr);
        // The text is drawn a few pixels in and centred on the picture: size the
        // control so that none of it is cut off.
        int pieceHeight = m_backgroundPiece.IsOk() ? m_backgroundPiece.GetLogicalSize().y : 0;
        SetSize(width + m_textInset, std::max(height, pieceHeight));
    }
    Refresh(true);
}

wxSize PictureCaption::DoGetBestSize() const {
    return GetSize();
}

void PictureCaption::DoEnable(bool enable) {
    wxControl::DoEnable(enable);
    Refresh(true);
}

void PictureCaption::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetTextForeground(IsEnabled() ? m_textColour : SkinLook::DisabledTextColour());
    if (m_font.IsOk())
        dc.SetFont(m_font);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    wxCoord width = 0;
    wxCoord height = 0;
    dc.GetTextExtent(m_text, &width, &height);
    // Centred on the picture under it; without a picture, on the control.
    int pieceHeight = m_backgroundPiece.IsOk() ? m_backgroundPiece.GetLogicalSize().y : GetSize().y;
    dc.DrawText(m_text, m_textInset, (pieceHeight - height) / 2);
}

void PictureCaption::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece.IsOk())
        return;
    if (wxDC* dc = event.GetDC())
        dc->DrawBitmap(m_backgroundPiece, 0, 0, true);
}
