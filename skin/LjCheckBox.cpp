#include "skin/LjCheckBox.h"

#include "skin/SkinLook.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>

#include <cstdlib>

wxDEFINE_EVENT(wxEVT_LJCHECKBOX_CLICKED, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(LjCheckBox, wxControl);

wxBEGIN_EVENT_TABLE(LjCheckBox, wxControl)
    EVT_PAINT(LjCheckBox::OnPaint)
    EVT_ERASE_BACKGROUND(LjCheckBox::OnEraseBackground)
    EVT_LEFT_DOWN(LjCheckBox::OnLeftDown)
    EVT_LEFT_DCLICK(LjCheckBox::OnLeftDClick)
    EVT_KEY_DOWN(LjCheckBox::OnKeyDown)
    EVT_SET_FOCUS(LjCheckBox::OnFocus)
    EVT_KILL_FOCUS(LjCheckBox::OnFocus)
wxEND_EVENT_TABLE()

LjCheckBox::LjCheckBox(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                       const wxSize& size, long style, const wxValidator& validator) {
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
    SetCanFocus(enabled);
    Refresh(true);
}

void LjCheckBox::DoEnable(bool enable) {
    wxControl::DoEnable(enable);
    // Also reached when a parent is disabled: the look follows.
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
    const bool usable = IsUsable();
    // A disabled box keeps showing its tick: greyed, not cleared.
    int flags = m_checked ? int(wxCONTROL_CHECKED) : 0;
    if (!usable)
        flags |= wxCONTROL_DISABLED;
    wxRendererNative::Get().DrawCheckBox(this, dc, wxRect(wxPoint(0, 0), box), flags);
    dc.SetFont(GetFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(usable ? m_captionColour : SkinLook::DisabledTextColour());
    const int x = box.GetWidth() + m_spacing;
    const int y = std::abs(GetSize().GetHeight() - m_captionHeight) / 2;
    dc.DrawText(m_caption, x, y);
    if (HasFocus())
        SkinLook::DrawFocusMark(dc, wxRect(x - 2, 0, GetSize().x - x + 2, GetSize().y));
}

void LjCheckBox::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece.IsOk())
        return;
    if (wxDC* dc = event.GetDC())
        dc->DrawBitmap(m_backgroundPiece, 0, 0, true);
}

void LjCheckBox::Toggle() {
    if (!IsUsable())
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

void LjCheckBox::OnKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && !event.HasAnyModifiers())
        Toggle();
    else
        event.Skip(); // Tab and the rest go on to the window's navigation
}

void LjCheckBox::OnFocus(wxFocusEvent& event) {
    Refresh(true);
    event.Skip();
}
