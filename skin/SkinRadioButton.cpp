#include "skin/SkinRadioButton.h"

#include "skin/RadioGroup.h"
#include "skin/SkinLook.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

wxDEFINE_EVENT(wxEVT_SKIN_RADIOBUTTON_SELECTED, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(SkinRadioButton, wxControl);

wxBEGIN_EVENT_TABLE(SkinRadioButton, wxControl)
    EVT_ERASE_BACKGROUND(SkinRadioButton::OnEraseBackground)
    EVT_PAINT(SkinRadioButton::OnPaint)
    EVT_LEFT_DOWN(SkinRadioButton::OnLeftDown)
    EVT_KEY_DOWN(SkinRadioButton::OnKeyDown)
    EVT_SET_FOCUS(SkinRadioButton::OnFocus)
    EVT_KILL_FOCUS(SkinRadioButton::OnFocus)
wxEND_EVENT_TABLE()

SkinRadioButton::SkinRadioButton(wxWindow* parent, wxWindowID id, const wxString& caption,
                                 const wxPoint& pos, const wxSize& size, long style,
                                 const wxValidator& validator) {
    Create(parent, id, caption, pos, size, style, validator);
}

bool SkinRadioButton::Create(wxWindow* parent, wxWindowID id, const wxString& caption,
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

void SkinRadioButton::LayOut() {
    wxSize circle = wxRendererNative::Get().GetCheckBoxSize(this);
    int width = 0;
    int height = 0;
    GetTextExtent(m_caption, &width, &height);
    SetSize(circle.GetWidth() + m_spacing + width, std::max(circle.GetHeight(), height));
    InvalidateBestSize();
}

void SkinRadioButton::SetValue(bool value) {
    if (!value)
        return;
    SetSelectedMark(true);
    if (m_group)
        m_group->Select(m_index);
}

void SkinRadioButton::SetSelectedMark(bool selected) {
    m_selected = selected;
    UpdateTabStop();
    Refresh(true);
}

void SkinRadioButton::AttachToGroup(RadioGroup* group, int index) {
    m_group = group;
    m_index = index;
    UpdateTabStop();
}

void SkinRadioButton::SetBackgroundPiece(const wxBitmap& piece) {
    m_backgroundPiece = piece;
}

void SkinRadioButton::SetEnabled(bool enabled) {
    m_enabled = enabled;
    UpdateTabStop();
    Refresh(true);
}

void SkinRadioButton::DoEnable(bool enable) {
    wxControl::DoEnable(enable);
    // Also reached when a parent is disabled: the look follows.
    Refresh(true);
}

void SkinRadioButton::UpdateTabStop() {
    SetCanFocus(m_enabled && (!m_group || m_selected));
}

void SkinRadioButton::SetSpacing(int spacing) {
    m_spacing = spacing;
    LayOut();
    Refresh(true);
}

bool SkinRadioButton::SetFont(const wxFont& font) {
    bool changed = wxControl::SetFont(font);
    LayOut();
    Refresh(true);
    return changed;
}

void SkinRadioButton::SetCaptionColour(const wxColour& colour) {
    m_captionColour = colour;
    Refresh(true);
}

void SkinRadioButton::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece.IsOk())
        return;
    if (wxDC* dc = event.GetDC())
        dc->DrawBitmap(m_backgroundPiece, 0, 0, true);
}

void SkinRadioButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxSize circle = wxRendererNative::Get().GetCheckBoxSize(this);
    const bool usable = IsUsable();
    // A disabled group keeps showing its choice: greyed, not cleared.
    int flags = m_selected ? int(wxCONTROL_CHECKED) : 0;
    if (!usable)
        flags |= wxCONTROL_DISABLED;
    // Circle and caption both centred: a script with tall characters (Chinese)
    // makes the caption the taller of the two.
    const int height = GetSize().GetHeight();
    wxRendererNative::Get().DrawRadioBitmap(
        this, dc, wxRect(wxPoint(0, (height - circle.GetHeight()) / 2), circle), flags);
    dc.SetFont(GetFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(usable ? m_captionColour : SkinLook::DisabledTextColour());
    const int x = circle.GetWidth() + m_spacing;
    const int textHeight = dc.GetTextExtent(m_caption).GetHeight();
    dc.DrawText(m_caption, x, std::max(0, (height - textHeight) / 2));
    if (HasFocus())
        SkinLook::DrawFocusMark(dc, wxRect(x - 2, 0, GetSize().x - x + 2, GetSize().y));
}

bool SkinRadioButton::Choose() {
    if (!IsUsable() || m_selected)
        return false;
    if (m_group)
        m_group->Select(m_index);
    else
        SetSelectedMark(true); // a lone button simply turns on
    wxCommandEvent* selected = new wxCommandEvent(wxEVT_SKIN_RADIOBUTTON_SELECTED, GetId());
    selected->SetEventObject(this);
    GetEventHandler()->QueueEvent(selected);
    return true;
}

void SkinRadioButton::OnLeftDown(wxMouseEvent&) {
    Choose();
}

SkinRadioButton* SkinRadioButton::Neighbour(int step) const {
    if (!m_group)
        return nullptr;
    const int count = m_group->GetCount();
    for (int i = 1; i < count; ++i) {
        SkinRadioButton* other = m_group->GetButton(((m_index + step * i) % count + count) % count);
        if (other && other->IsShown() && other->IsUsable())
            return other;
    }
    return nullptr;
}

void SkinRadioButton::OnKeyDown(wxKeyEvent& event) {
    if (event.HasAnyModifiers()) {
        event.Skip();
        return;
    }
    switch (event.GetKeyCode()) {
    case WXK_SPACE:
        Choose();
        return;
    case WXK_LEFT:
    case WXK_UP:
    case WXK_RIGHT:
    case WXK_DOWN: {
        const bool back = event.GetKeyCode() == WXK_LEFT || event.GetKeyCode() == WXK_UP;
        if (SkinRadioButton* next = Neighbour(back ? -1 : 1)) {
            // Chosen first: only the chosen member takes the focus.
            next->Choose();
            next->SetFocus();
        }
        return;
    }
    default:
        event.Skip(); // Tab and the rest go on to the window's navigation
    }
}

void SkinRadioButton::OnFocus(wxFocusEvent& event) {
    Refresh(true);
    event.Skip();
}
