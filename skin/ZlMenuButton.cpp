#include "skin/ZlMenuButton.h"

#include "skin/ImageUtil.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/menu.h>

wxIMPLEMENT_DYNAMIC_CLASS(ZlMenuButton, wxControl);

wxBEGIN_EVENT_TABLE(ZlMenuButton, wxControl)
    EVT_PAINT(ZlMenuButton::OnPaint)
    EVT_ERASE_BACKGROUND(ZlMenuButton::OnEraseBackground)
    EVT_ENTER_WINDOW(ZlMenuButton::OnMouseEnter)
    EVT_LEAVE_WINDOW(ZlMenuButton::OnMouseLeave)
    EVT_LEFT_DOWN(ZlMenuButton::OnLeftDown)
wxEND_EVENT_TABLE()

ZlMenuButton::ZlMenuButton(wxMenu* menu, wxBitmap* normal, wxBitmap* hover, wxWindow* parent,
                           wxWindowID id, const wxPoint& pos, long style,
                           const wxValidator& validator) {
    Create(menu, normal, hover, parent, id, pos, style, validator);
}

ZlMenuButton::~ZlMenuButton() {
    delete m_normal;
    delete m_hover;
    delete m_disabled;
    delete m_backgroundPiece;
    delete m_menu;
}

bool ZlMenuButton::Create(wxMenu* menu, wxBitmap* normal, wxBitmap* hover, wxWindow* parent,
                          wxWindowID id, const wxPoint& pos, long style,
                          const wxValidator& validator) {
    m_menu = menu;
    m_normal = normal;
    m_hover = hover;
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    wxSize size = normal && normal->IsOk() ? normal->GetLogicalSize() : wxDefaultSize;
    return wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr);
}

void ZlMenuButton::SetParentBitmap(wxBitmap* picture) {
    m_parentPicture = picture;
}

void ZlMenuButton::UpdateBackgroundPiece() {
    if (!m_parentPicture || !m_parentPicture->IsOk())
        return;
    wxRect rect = GetRect();
    delete m_backgroundPiece;
    m_backgroundPiece =
        ImageUtil::CreateSubBitmap(*m_parentPicture, rect.x, rect.y, rect.width, rect.height);
}

void ZlMenuButton::SetDisabledBitmap(wxBitmap* bitmap) {
    if (bitmap != m_disabled)
        delete m_disabled;
    m_disabled = bitmap;
}

void ZlMenuButton::SetHoverShown(bool shown) {
    m_hoverShown = shown;
    Refresh(true);
    Update();
}

void ZlMenuButton::ShowHover() {
    SetHoverShown(true);
}

void ZlMenuButton::ShowNormal() {
    SetHoverShown(false);
}

bool ZlMenuButton::Enable(bool enable) {
    bool changed = wxControl::Enable(enable);
    Update();
    Refresh(true);
    return changed;
}

wxSize ZlMenuButton::DoGetBestSize() const {
    return m_normal && m_normal->IsOk() ? m_normal->GetLogicalSize() : wxSize(16, 16);
}

void ZlMenuButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    auto draw = [&dc](wxBitmap* image) {
        if (image && image->IsOk())
            dc.DrawBitmap(*image, 0, 0, true);
    };
    draw(m_normal);
    if (!IsEnabled())
        draw(m_disabled);
    else if (m_hoverShown)
        draw(m_hover);
}

void ZlMenuButton::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece || !m_backgroundPiece->IsOk())
        return;
    if (wxDC* dc = event.GetDC()) {
        dc->DrawBitmap(*m_backgroundPiece, 0, 0, true);
    } else {
        wxClientDC client(this);
        client.DrawBitmap(*m_backgroundPiece, 0, 0, true);
    }
}

void ZlMenuButton::OnMouseEnter(wxMouseEvent&) {
    if (m_hoverTracking)
        SetHoverShown(true);
}

void ZlMenuButton::OnMouseLeave(wxMouseEvent&) {
    if (m_hoverTracking)
        SetHoverShown(false);
}

void ZlMenuButton::OnLeftDown(wxMouseEvent&) {
    // The menu opens on the press, as a native menu bar does.
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    GetEventHandler()->ProcessEvent(click);
}
