#include "skin/LjRadioButton.h"

#include "skin/LjRadioGroup.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>

wxDEFINE_EVENT(wxEVT_LJRADIOBUTTON_SELECTED, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(LjRadioButton, wxControl);

wxBEGIN_EVENT_TABLE(LjRadioButton, wxControl) EVT_ERASE_BACKGROUND(LjRadioButton::OnEraseBackground)
    EVT_PAINT(LjRadioButton::OnPaint) EVT_LEFT_DOWN(LjRadioButton::OnLeftDown) wxEND_EVENT_TABLE()

        LjRadioButton::LjRadioButton(wxWindow* parent, wxWindowID id, const wxString& caption,
                                     const wxPoint& pos, const wxSize& size, long style,
                                     const wxValidator& validator) {
    Create(parent, id, caption, pos, size, style, validator);
}

bool LjRadioButton::Create(wxWindow* parent, wxWindowID id, const wxString& caption,
                           const wxPoint& pos, const wxSize& size, long style,
                           const wxValidator& validator) {
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    if (!wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr))
        return false;
    m_caption = caption;
    m_captionColour = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    LayOut();
    return true;
}

void LjRadioButton::LayOut() {
    wxSize circle = wxRendererNative::Get().GetCheckBoxSize(this);
    int width = 0;
    int height = 0;
    GetTextExtent(m_caption, &width, &height);
    SetSize(circle.GetWidth() + m_spacing + width, std::max(circle.GetHeight(), height));
    InvalidateBestSize();
}

void LjRadioButton::SetValue(bool value) {
    if (!value)
        return;
    SetSelectedMark(true);
    if (m_group)
        m_group->Select(m_index);
}

void LjRadioButton::SetSelectedMark(bool selected) {
    m_selected = selected;
    Refresh(true);
}

void LjRadioButton::AttachToGroup(LjRadioGroup* group, int index) {
    m_group = group;
    m_index = index;
}

void LjRadioButton::SetBackgroundPiece(const wxBitmap& piece) {
    m_backgroundPiece = piece;
}

void LjRadioButton::SetEnabled(bool enabled) {
    m_enabled = enabled;
    Refresh(true);
}

void LjRadioButton::SetSpacing(int spacing) {
    m_spacing = spacing;
    LayOut();
    Refresh(true);
}

bool LjRadioButton::SetFont(const wxFont& font) {
    bool changed = wxControl::SetFont(font);
    LayOut();
    Refresh(true);
    return changed;
}

void LjRadioButton::SetCaptionColour(const wxColour& colour) {
    m_captionColour = colour;
    Refresh(true);
}

void LjRadioButton::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece.IsOk())
        return;
    if (wxDC* dc = event.GetDC())
        dc->DrawBitmap(m_backgroundPiece, 0, 0, true);
}

void LjRadioButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxSize circle = wxRendererNative::Get().GetCheckBoxSize(this);
    int flags = 0;
    if (!m_enabled)
        flags = wxCONTROL_DISABLED;
    else if (m_selected)
        flags = wxCONTROL_CHECKED;
    wxRendererNative::Get().DrawRadioBitmap(this, dc, wxRect(wxPoint(0, 0), circle), flags);
    dc.SetFont(GetFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int width = 0;
    int height = 0;
    dc.GetTextExtent(m_caption, &width, &height);
    dc.SetTextForeground(m_captionColour);
    dc.DrawText(m_caption, circle.GetWidth() + m_spacing,
                (GetSize().GetHeight() - circle.GetHeight()) / 2);
}

void LjRadioButton::OnLeftDown(wxMouseEvent&) {
    if (!m_enabled || m_selected)
        return;
    if (m_group)
        m_group->Select(m_index);
    else
        SetSelectedMark(true); // a lone button simply turns on
    wxCommandEvent* selected = new wxCommandEvent(wxEVT_LJRADIOBUTTON_SELECTED, GetId());
    selected->SetEventObject(this);
    GetEventHandler()->QueueEvent(selected);
}
