#include "skin/PictureButton.h"

#include "skin/SkinLook.h"

#include <wx/dcclient.h>

wxIMPLEMENT_DYNAMIC_CLASS(PictureButton, wxControl);

wxBEGIN_EVENT_TABLE(PictureButton, wxControl)
    EVT_PAINT(PictureButton::OnPaint)
    EVT_ENTER_WINDOW(PictureButton::OnMouseEnter)
    EVT_LEAVE_WINDOW(PictureButton::OnMouseLeave)
    EVT_LEFT_DOWN(PictureButton::OnLeftDown)
    EVT_LEFT_DCLICK(PictureButton::OnLeftDClick)
    EVT_LEFT_UP(PictureButton::OnLeftUp)
    EVT_KEY_DOWN(PictureButton::OnKeyDown)
    EVT_SET_FOCUS(PictureButton::OnFocus)
    EVT_KILL_FOCUS(PictureButton::OnFocus)
wxEND_EVENT_TABLE()

PictureButton::PictureButton(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size, long style, const wxValidator& validator) {
    Create(parent, id, pos, size, style, validator);
}

PictureButton::~PictureButton() {
    delete m_normal;
    delete m_pressed;
    delete m_hover;
}

bool PictureButton::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
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

PictureButton* PictureButton::SetNormalBitmap(wxBitmap* bitmap) {
    Replace(m_normal, bitmap);
    return this;
}

PictureButton* PictureButton::SetPressedBitmap(wxBitmap* bitmap) {
    Replace(m_pressed, bitmap);
    return this;
}

PictureButton* PictureButton::SetHoverBitmap(wxBitmap* bitmap) {
    Replace(m_hover, bitmap);
    return this;
}

PictureButton* PictureButton::SetDisabledBitmap(wxBitmap* bitmap) {
    m_disabled = bitmap;
    return this;
}

PictureButton* PictureButton::SetCaption(const wxString& text, const wxColour& colour,
                                         const wxColour& pressed) {
    m_caption = text;
    m_captionColour = colour;
    m_pressedCaptionColour = pressed.IsOk() ? pressed : colour;
    SetLabel(text);
    Refresh(false);
    return this;
}

void PictureButton::SetBackgroundPiece(const wxBitmap& piece) {
    m_backgroundPiece = piece;
    m_hasBackgroundPiece = true;
}

bool PictureButton::SetBackgroundColour(const wxColour& colour) {
    m_hasBackgroundPiece = false;
    return wxControl::SetBackgroundColour(colour);
}

bool PictureButton::Enable(bool enable) {
    m_state = enable ? STATE_NORMAL : STATE_DISABLED;
    Refresh(false);
    Update();
    return wxControl::Enable(enable);
}

bool PictureButton::Disable() {
    return Enable(false);
}

wxSize PictureButton::DoGetBestSize() const {
    return GetSize();
}

const wxBitmap* PictureButton::GetShownBitmap() const {
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

void PictureButton::OnPaint(wxPaintEvent&) {
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
    if (!m_caption.empty()) {
        wxFont font = GetFont();
        font.MakeBold();
        dc.SetFont(font);
        const bool pressed = m_state == STATE_PRESSED;
        dc.SetTextForeground(!IsEnabled() ? wxColour(150, 158, 170)
                             : pressed    ? m_pressedCaptionColour
                                          : m_captionColour);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        // Pressed pictures sink by a pixel; the words go with them.
        wxRect area(size);
        area.Deflate(4, 0);
        if (pressed)
            area.Offset(0, 1);
        const wxString shown = wxControl::Ellipsize(m_caption, dc, wxELLIPSIZE_END, area.width);
        dc.DrawLabel(shown, area, wxALIGN_CENTRE);
    }
    if (HasFocus())
        SkinLook::DrawFocusMark(dc, wxRect(size).Deflate(3));
}

void PictureButton::Repaint(bool erase) {
    Refresh(erase);
    Update();
}

void PictureButton::OnMouseEnter(wxMouseEvent&) {
    // A disabled button shows its disabled picture whatever the pointer does.
    if (!IsEnabled() || m_state == STATE_DISABLED)
        return;
    m_state = STATE_HOVER;
    Repaint(true);
}

void PictureButton::OnMouseLeave(wxMouseEvent&) {
    // A disabled button keeps its disabled picture when the pointer leaves.
    if (!IsEnabled() || m_state == STATE_DISABLED)
        return;
    m_state = STATE_LEFT;
    Repaint(true);
}

void PictureButton::OnLeftDown(wxMouseEvent&) {
    m_state = STATE_PRESSED;
    Repaint(true);
}

void PictureButton::OnLeftDClick(wxMouseEvent&) {
    m_state = STATE_PRESSED;
    Repaint(false);
}

void PictureButton::OnLeftUp(wxMouseEvent&) {
    if (m_state != STATE_PRESSED)
        return;
    m_state = STATE_RELEASED;
    Repaint(true);
    SendClick();
}

void PictureButton::Press() {
    if (!IsEnabled() || m_state == STATE_DISABLED)
        return;
    SendClick();
}

void PictureButton::SetAcceptsFocus(bool accepts) {
    m_acceptsFocus = accepts;
    SetCanFocus(accepts);
}

void PictureButton::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (!event.HasAnyModifiers() &&
        (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER))
        Press();
    else
        event.Skip(); // Tab and the rest go on to the window's navigation
}

void PictureButton::OnFocus(wxFocusEvent& event) {
    Repaint(false);
    event.Skip();
}

void PictureButton::SendClick() {
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    GetEventHandler()->ProcessEvent(click);
}
