#include "skin/MenuStripButton.h"

#include "skin/ImageUtil.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/menu.h>

wxIMPLEMENT_DYNAMIC_CLASS(MenuStripButton, wxControl);

wxBEGIN_EVENT_TABLE(MenuStripButton, wxControl)
    EVT_PAINT(MenuStripButton::OnPaint)
    EVT_ERASE_BACKGROUND(MenuStripButton::OnEraseBackground)
    EVT_ENTER_WINDOW(MenuStripButton::OnMouseEnter)
    EVT_LEAVE_WINDOW(MenuStripButton::OnMouseLeave)
    EVT_LEFT_DOWN(MenuStripButton::OnLeftDown)
wxEND_EVENT_TABLE()

MenuStripButton::MenuStripButton(wxMenu* menu, wxBitmap* normal, wxBitmap* hover, wxWindow* parent,
                                 wxWindowID id, const wxPoint& pos, long style,
                                 const wxValidator& validator) {
    Create(menu, normal, hover, parent, id, pos, style, validator);
}

MenuStripButton::~MenuStripButton() {
    delete m_normal;
    delete m_hover;
    delete m_disabled;
    delete m_backgroundPiece;
    delete m_menu;
}

bool MenuStripButton::Create(wxMenu* menu, wxBitmap* normal, wxBitmap* hover, wxWindow* parent,
                             wxWindowID id, const wxPoint& pos, long style,
                             const wxValidator& validator) {
    m_menu = menu;
    m_normal = normal;
    m_hover = hover;
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    wxSize size = normal && normal->IsOk() ? normal->GetLogicalSize() : wxDefaultSize;
    return wxControl::Create(parent, id, pos, size, style, validator, wxControlNameStr);
}

void MenuStripButton::SetParentBitmap(wxBitmap* picture) {
    m_parentPicture = picture;
}

void MenuStripButton::UpdateBackgroundPiece() {
    if (!m_parentPicture || !m_parentPicture->IsOk())
        return;
    wxRect rect = GetRect();
    delete m_backgroundPiece;
    m_backgroundPiece =
        ImageUtil::CreateSubBitmap(*m_parentPicture, rect.x, rect.y, rect.width, rect.height);
}

void MenuStripButton::SetDisabledBitmap(wxBitmap* bitmap) {
    if (bitmap != m_disabled)
        delete m_disabled;
    m_disabled = bitmap;
}

void MenuStripButton::SetHoverShown(bool shown) {
    m_hoverShown = shown;
    Refresh(true);
    Update();
}

void MenuStripButton::ShowHover() {
    SetHoverShown(true);
}

void MenuStripButton::ShowNormal() {
    SetHoverShown(false);
}

bool MenuStripButton::Enable(bool enable) {
    bool changed = wxControl::Enable(enable);
    Update();
    Refresh(true);
    return changed;
}

wxSize MenuStripButton::DoGetBestSize() const {
    return m_normal && m_normal->IsOk() ? m_normal->GetLogicalSize() : wxSize(16, 16);
}

void MenuStripButton::OnPaint(wxPaintEvent&) {
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

void MenuStripButton::OnEraseBackground(wxEraseEvent& event) {
    if (!m_backgroundPiece || !m_backgroundPiece->IsOk())
        return;
    if (wxDC* dc = event.GetDC()) {
        dc->DrawBitmap(*m_backgroundPiece, 0, 0, true);
    } else {
        wxClientDC client(this);
        client.DrawBitmap(*m_backgroundPiece, 0, 0, true);
    }
}

void MenuStripButton::OnMouseEnter(wxMouseEvent&) {
    if (m_hoverTracking)
        SetHoverShown(true);
}

void MenuStripButton::OnMouseLeave(wxMouseEvent&) {
    if (m_hoverTracking)
        SetHoverShown(false);
}

void MenuStripButton::OnLeftDown(wxMouseEvent&) {
    // The menu opens on the press, as a native menu bar does.
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    GetEventHandler()->ProcessEvent(click);
}
