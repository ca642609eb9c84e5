#include "skin/SkinCheckBox.h"

#include "skin/SkinLook.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>

#include <cstdlib>

wxDEFINE_EVENT(wxEVT_SKIN_CHECKBOX_CLICKED, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(SkinCheckBox, wxControl);

wxBEGIN_EVENT_TABLE(SkinCheckBox, wxControl)
    EVT_PAINT(SkinCheckBox::OnPaint)
    EVT_ERASE_BACKGROUND(SkinCheckBox::OnEraseBackground)
    EVT_LEFT_DOWN(SkinCheckBox::OnLeftDown)
    EVT_LEFT_DCLICK(SkinCheckBox::OnLeftDClick)
    EVT_KEY_DOWN(SkinCheckBox::OnKeyDown)
    EVT_SET_FOCUS(SkinCheckBox::OnFocus)
    EVT_KILL_FOCUS(SkinCheckBox::OnFocus)
wxEND_EVENT_TABLE()

SkinCheckBox::SkinCheckBox(wxWindow* parent, wxWindowID id, const wxString& caption,
                           const wxPoint& pos, const wxSize& size, long style,
                           const wxValidator& validator) {
    Create(parent, id, caption, pos, size, style, validator);
}

bool SkinCheckBox::Create(wxWindow* parent, wxWindowID id, const wxString& caption,
                          const wxPoint& pos, const wxSize& size, long style,
                          const wxValidator& validator) {
    if (!wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr))
        return false;
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    m_caption = caption;
    LayOut();
    return true;
}

void SkinCheckBox::LayOut() {
    wxSize box = wxRendererNative::Get().GetCheckBoxSize(this);
    GetTextExtent(m_caption, &m_captionWidth, &m_captionHeight);
    SetSize(box.GetWidth() + m_spacing + m_captionWidth,
            std::max(box.GetHeight(), m_captionHeight));
    InvalidateBestSize();
}

void SkinCheckBox::SetBackgroundPiece(const wxBitmap& piece) {
    m_backgroundPiece = piece;
}

void SkinCheckBox::SetEnabled(bool enabled) {
    m_enabled = enabled;
    SetCanFocus(enabled);
    Refresh(true);
}

void SkinCheckBox::DoEnable(bool enable) {
    wxControl::DoEnable(enable);
    // Also reached when a parent is disabled: the look follows.
    Refresh(true);
}

void SkinCheckBox::SetChecked(bool checked) {
    m_checked = checked;
    Refresh(true);
}

void SkinCheckBox::SetCaption(const wxString& caption) {
    m_caption = caption;
    LayOut();
    Refresh(true);
}

void SkinCheckBox::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxSize box = wxRendererNative::Get().GetCheckBoxSize(this);
    const bool usable = IsUsable();
    // A disabled box keeps showing its tick: greyed, not cleared.
    int flags = m_checked ? int(wxCONTROL_CHECKED) : 0;
    if (!usable)
        flags |= wxCONTROL_DISABLED;
    // Centred on the caption, which is the taller of the two in some scripts.
    wxRendererNative::Get().DrawCheckBox(
        this, dc, wxRect(wxPoint(0, (GetSize().GetHeight() - box.GetHeight()) / 2), box), flags);
    dc.SetFont(GetFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(usable ? m_captionColour : SkinLook::DisabledTextColour());
    const int x = box.GetWidth() + m_spacing;
    const int y = std::abs(GetSize().GetHeight() - m_captionHeight) / 2;
    dc.DrawText(m_caption, x, y);
    if (HasFocus())
        SkinLook::DrawFocusMark(dc, wxRect(x - 2, 0, GetSize().x - x + 2, GetSize().y));
}

void SkinCheckBox::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece.IsOk())
        return;
    if (wxDC* dc = event.GetDC())
        dc->DrawBitmap(m_backgroundPiece, 0, 0, true);
}

void SkinCheckBox::Toggle() {
    if (!IsUsable())
        return;
    m_touched = true;
    m_checked = !m_checked;
    Refresh(true);
    // Queued, so the handler runs after this press is fully handled.
    wxCommandEvent* clicked = new wxCommandEvent(wxEVT_SKIN_CHECKBOX_CLICKED, GetId());
    clicked->SetEventObject(this);
    GetEventHandler()->QueueEvent(clicked);
}

void SkinCheckBox::OnLeftDown(wxMouseEvent&) {
    Toggle();
}

void SkinCheckBox::OnLeftDClick(wxMouseEvent&) {
    Toggle();
}

void SkinCheckBox::OnKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && !event.HasAnyModifiers())
        Toggle();
    else
        event.Skip(); // Tab and the rest go on to the window's navigation
}

void SkinCheckBox::OnFocus(wxFocusEvent& event) {
    Refresh(true);
    event.Skip();
}
