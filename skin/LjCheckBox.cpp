#include "skin/LjCheckBox.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>

#include <cstdlib>

wxDEFINE_EVENT(wxEVT_LJCHECKBOX_CLICKED, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(LjCheckBox, wxControl);

wxBEGIN_EVENT_TABLE(LjCheckBox, wxControl) EVT_PAINT(LjCheckBox::OnPaint)
    EVT_ERASE_BACKGROUND(LjCheckBox::OnEraseBackground) EVT_LEFT_DOWN(LjCheckBox::OnLeftDown)
        EVT_LEFT_DCLICK(LjCheckBox::OnLeftDClick) EVT_LEFT_UP(LjCheckBox::OnLeftUp)
            wxEND_EVENT_TABLE()

                LjCheckBox::LjCheckBox(wxWindow* parent, wxWindowID id, const wxString& caption,
                                       const wxPoint& pos, const wxSize& size, long style,
                                       const wxValidator& validator) {
    Create(parent, id, caption, pos, size, style, validator);
}

bool LjCheckBox::Create(wxWindow* parent, wxWindowID id, const wxString& caption,
                        const wxPoint& pos, const wxSize& size, long style,
                        const wxValidator& validator) {
    if (!wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr))
        return false;
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    m_caption = caption;
    LayOut();
    return true;
}

void LjCheckBox::LayOut() {
    wxSize box = wxRendererNative::Get().GetCheckBoxSize(this);
    GetTextExtent(m_caption, &m_captionWidth, &m_captionHeight);
    SetSize(box.GetWidth() + m_spacing + m_captionWidth,
            std::max(box.GetHeight(), m_captionHeight));
    InvalidateBestSize();
}

void LjCheckBox::SetBackgroundPiece(const wxBitmap& piece) {
    m_backgroundPiece = piece;
}

void LjCheckBox::SetEnabled(bool enabled) {
    m_enabled = enabled;
    Refresh(true);
}

void LjCheckBox::SetChecked(bool checked) {
    m_checked = checked;
    Refresh(true);
}

void LjCheckBox::SetCaption(const wxString& caption) {
    m_caption = caption;
    LayOut();
    Refresh(true);
}

void LjCheckBox::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxSize box = wxRendererNative::Get().GetCheckBoxSize(this);
    int flags = 0;
    if (!m_enabled)
        flags = wxCONTROL_DISABLED;
    else if (m_checked)
        flags = wxCONTROL_CHECKED;
    wxRendererNative::Get().DrawCheckBox(this, dc, wxRect(wxPoint(0, 0), box), flags);
    dc.SetFont(GetFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int y = std::abs(GetSize().GetHeight() - m_captionHeight) / 2;
    dc.DrawText(m_caption, box.GetWidth() + m_spacing, y);
}

void LjCheckBox::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece.IsOk())
        return;
    if (wxDC* dc = event.GetDC())
        dc->DrawBitmap(m_backgroundPiece, 0, 0, true);
}

void LjCheckBox::Toggle() {
    if (!m_enabled)
        return;
    m_touched = true;
    m_checked = !m_checked;
    Refresh(true);
    // Queued, so the handler runs after this press is fully handled.
    wxCommandEvent* clicked = new wxCommandEvent(wxEVT_LJCHECKBOX_CLICKED, GetId());
    clicked->SetEventObject(this);
    GetEventHandler()->QueueEvent(clicked);
}

void LjCheckBox::OnLeftDown(wxMouseEvent&) {
    Toggle();
}

void LjCheckBox::OnLeftDClick(wxMouseEvent&) {
    Toggle();
}

void LjCheckBox::OnLeftUp(wxMouseEvent&) {}
