#include "skin/DhBitmapButton.h"

#include "skin/SkinLook.h"

#include <wx/dcclient.h>

wxIMPLEMENT_DYNAMIC_CLASS(DhBitmapButton, wxControl);

wxBEGIN_EVENT_TABLE(DhBitmapButton, wxControl)
    EVT_PAINT(DhBitmapButton::OnPaint)
    EVT_ENTER_WINDOW(DhBitmapButton::OnMouseEnter)
    EVT_LEAVE_WINDOW(DhBitmapButton::OnMouseLeave)
    EVT_LEFT_DOWN(DhBitmapButton::OnLeftDown)
    EVT_LEFT_DCLICK(DhBitmapButton::OnLeftDClick)
    EVT_LEFT_UP(DhBitmapButton::OnLeftUp)
    EVT_KEY_DOWN(DhBitmapButton::OnKeyDown)
    EVT_SET_FOCUS(DhBitmapButton::OnFocus)
    EVT_KILL_FOCUS(DhBitmapButton::OnFocus)
wxEND_EVENT_TABLE()

DhBitmapButton::DhBitmapButton(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                               const wxSize& size, long style, const wxValidator& validator) {
    Create(parent, id, pos, size, style, validator);
}

DhBitmapButton::~DhBitmapButton() {
    delete m_normal;
    delete m_pressed;
    delete m_hover;
}

bool DhBitmapButton::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                            long style, const wxValidator& validator) {
    // Background and picture are painted together in the paint handler.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    return wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr);
}

namespace {
void Replace(wxBitmap*& slot, wxBitmap* bitmap) {
    if (slot != bitmap)
        delete slot;
    slot = bitmap;
}
} // namespace

DhBitmapButton* DhBitmapButton::SetNormalBitmap(wxBitmap* bitmap) {
    Replace(m_normal, bitmap);
    return this;
}

DhBitmapButton* DhBitmapButton::SetPressedBitmap(wxBitmap* bitmap) {
    Replace(m_pressed, bitmap);
    return this;
}

DhBitmapButton* DhBitmapButton::SetHoverBitmap(wxBitmap* bitmap) {
    Replace(m_hover, bitmap);
    return this;
}

DhBitmapButton* DhBitmapButton::SetDisabledBitmap(wxBitmap* bitmap) {
    m_disabled = bitmap;
    return this;
}

void DhBitmapButton::SetBackgroundPiece(const wxBitmap& piece) {
    m_backgroundPiece = piece;
    m_hasBackgroundPiece = true;
}

bool DhBitmapButton::SetBackgroundColour(const wxColour& colour) {
    m_hasBackgroundPiece = false;
    return wxControl::SetBackgroundColour(colour);
}

bool DhBitmapButton::Enable(bool enable) {
    m_state = enable ? STATE_NORMAL : STATE_DISABLED;
    Refresh(false);
    Update();
    return wxControl::Enable(enable);
}

bool DhBitmapButton::Disable() {
    return Enable(false);
}

wxSize DhBitmapButton::DoGetBestSize() const {
    return GetSize();
}

const wxBitmap* DhBitmapButton::GetShownBitmap() const {
    switch (m_state) {
    case STATE_HOVER:
        return m_hover;
    case STATE_PRESSED:
        return m_pressed ? m_pressed : m_normal;
    case STATE_DISABLED:
        return m_disabled ? m_disabled : m_normal;
    default:
        return m_normal;
    }
}

void DhBitmapButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    wxSize size = GetClientSize();
    if (m_hasBackgroundPiece && m_backgroundPiece.IsOk()) {
        dc.DrawBitmap(m_backgroundPiece, 0, 0, true);
    } else {
        wxColour colour = GetBackgroundColour();
        dc.SetBrush(wxBrush(colour, wxBRUSHSTYLE_SOLID));
        dc.SetPen(wxPen(colour, 1, wxPENSTYLE_SOLID));
        dc.DrawRectangle(0, 0, size.GetWidth(), size.GetHeight());
    }
    const wxBitmap* shown = GetShownBitmap();
    if (shown && shown->IsOk()) {
        dc.DrawBitmap(*shown, 0, 0, true);
    } else if (m_state == STATE_HOVER) {
        // No hover picture: at least show where the pointer is.
        wxSize best = GetBestSize();
        dc.SetPen(*wxRED_PEN);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(0, 0, best.GetWidth(), best.GetHeight());
    }
    if (HasFocus())
        SkinLook::DrawFocusMark(dc, wxRect(size).Deflate(3));
}

void DhBitmapButton::Repaint(bool erase) {
    Refresh(erase);
    Update();
}

void DhBitmapButton::OnMouseEnter(wxMouseEvent&) {
    // A disabled button shows its disabled picture whatever the pointer does.
    if (!IsEnabled() || m_state == STATE_DISABLED)
        return;
    m_state = STATE_HOVER;
    Repaint(true);
}

void DhBitmapButton::OnMouseLeave(wxMouseEvent&) {
    // A disabled button keeps its disabled picture when the pointer leaves.
    if (!IsEnabled() || m_state == STATE_DISABLED)
        return;
    m_state = STATE_LEFT;
    Repaint(true);
}

void DhBitmapButton::OnLeftDown(wxMouseEvent&) {
    m_state = STATE_PRESSED;
    Repaint(true);
}

void DhBitmapButton::OnLeftDClick(wxMouseEvent&) {
    m_state = STATE_PRESSED;
    Repaint(false);
}

void DhBitmapButton::OnLeftUp(wxMouseEvent&) {
    if (m_state != STATE_PRESSED)
        return;
    m_state = STATE_RELEASED;
    Repaint(true);
    SendClick();
}

void DhBitmapButton::Press() {
    if (!IsEnabled() || m_state == STATE_DISABLED)
        return;
    SendClick();
}

void DhBitmapButton::SetAcceptsFocus(bool accepts) {
    m_acceptsFocus = accepts;
    SetCanFocus(accepts);
}

void DhBitmapButton::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (!event.HasAnyModifiers() &&
        (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER))
        Press();
    else
        event.Skip(); // Tab and the rest go on to the window's navigation
}

void DhBitmapButton::OnFocus(wxFocusEvent& event) {
    Repaint(false);
    event.Skip();
}

void DhBitmapButton::SendClick() {
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    GetEventHandler()->ProcessEvent(click);
}
