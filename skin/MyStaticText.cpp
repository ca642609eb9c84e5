#include "skin/MyStaticText.h"

#include "skin/SkinLook.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>

wxIMPLEMENT_DYNAMIC_CLASS(MyStaticText, wxControl);

wxBEGIN_EVENT_TABLE(MyStaticText, wxControl)
    EVT_PAINT(MyStaticText::OnPaint)
    EVT_ERASE_BACKGROUND(MyStaticText::OnEraseBackground)
wxEND_EVENT_TABLE()

MyStaticText::MyStaticText(wxWindow* parent, wxWindowID id, const wxString& text,
                           const wxFont& font, const wxPoint& pos, const wxSize& size, long style,
                           const wxValidator& validator)
    : m_font(font), m_text(text) {
    Create(parent, id, pos, size, style, validator);
}

MyStaticText::~MyStaticText() {
    delete m_backgroundPiece;
}

bool MyStaticText::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                          long style, const wxValidator& validator) {
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    return wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr);
}

MyStaticText* MyStaticText::SetAutoResize(bool autoResize) {
    m_autoResize = autoResize;
    return this;
}

void MyStaticText::SetBackgroundPiece(wxBitmap* piece) {
    if (piece != m_backgroundPiece)
        delete m_backgroundPiece;
    m_backgroundPiece = piece;
}

void MyStaticText::SetText(const wxString& text) {
    m_text = text;
    if (m_autoResize) {
        int width = 0;
        int height = 0;
        GetTextExtent(m_text, &width, &height, nullptr, nullptr, m_font.IsOk() ? &m_font : nullptr);
        SetSize(width, height);
    }
    Refresh(true);
}

wxSize MyStaticText::DoGetBestSize() const {
    return GetSize();
}

void MyStaticText::DoEnable(bool enable) {
    wxControl::DoEnable(enable);
    Refresh(true);
}

void MyStaticText::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_font.IsOk())
        dc.SetFont(m_font);
    dc.SetTextForeground(IsEnabled() ? GetForegroundColour() : SkinLook::DisabledTextColour());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.DrawText(m_text, 0, 0);
}

void MyStaticText::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece || !m_backgroundPiece->IsOk())
        return;
    if (wxDC* dc = event.GetDC())
        dc->DrawBitmap(*m_backgroundPiece, 0, 0, true);
}
