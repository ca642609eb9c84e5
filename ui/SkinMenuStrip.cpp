#include "ui/SkinMenuStrip.h"

#include "skin/MenuStripButton.h"

#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/time.h>
#include <wx/utils.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace {
// How often the pointer is looked at while a menu is open.
const int kPollMs = 40;
// A press this soon after a menu closed over its own button is the closing press.
const int kClosingPressMs = 400;
} // namespace

wxBEGIN_EVENT_TABLE(SkinMenuStrip, wxPanel)
    EVT_PAINT(SkinMenuStrip::OnPaint)
wxEND_EVENT_TABLE()

SkinMenuStrip::SkinMenuStrip() : m_pollTimer(this) {}

SkinMenuStrip::~SkinMenuStrip() {
    m_pollTimer.Stop();
}

bool SkinMenuStrip::Create(wxBitmap* background, wxWindow* parent, wxWindowID id,
                           const wxPoint& pos, long style) {
    m_background.reset(background);
    const wxSize size =
        m_background && m_background->IsOk() ? m_background->GetLogicalSize() : wxSize(200, 19);
    if (!wxPanel::Create(parent, id, pos, size, style))
        return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCanFocus(false);
    Bind(wxEVT_TIMER, &SkinMenuStrip::OnPollPointer, this, m_pollTimer.GetId());
    return true;
}

wxSize SkinMenuStrip::DoGetBestSize() const {
    return m_background && m_background->IsOk() ? m_background->GetLogicalSize() : GetSize();
}

void SkinMenuStrip::AddMenu(int id, wxMenu* menu, wxBitmap* normal, wxBitmap* pressed) {
    auto* button =
        new MenuStripButton(menu, normal, pressed, this, id, wxDefaultPosition, wxBORDER_NONE);
    const wxSize size = button->GetSize();
    button->Move(m_nextX, (GetSize().y - size.y) / 2);
    m_nextX += size.x + 5;
    button->SetParentBitmap(m_background.get());
    button->UpdateBackgroundPiece();
    m_buttons.push_back(button);
    button->Bind(wxEVT_BUTTON, &SkinMenuStrip::OnMenuButton, this);
}

MenuStripButton* SkinMenuStrip::FindMenuButton(int id) const {
    for (MenuStripButton* button : m_buttons)
        if (button->GetId() == id)
            return button;
    return nullptr;
}

int SkinMenuStrip::HitMenuButton(const wxPoint& screenPoint) const {
    for (MenuStripButton* button : m_buttons)
        if (button->IsShown() && button->GetScreenRect().Contains(screenPoint))
            return button->GetId();
    return -1;
}

int SkinMenuStrip::NextMenuId(int current, int hovered) {
    if (hovered == current)
        return -2;
    if (hovered < 0)
        return -1;
    return hovered;
}

void SkinMenuStrip::OnMenuButton(wxCommandEvent& event) {
    const int id = event.GetId();
    const bool closingPress =
        id == m_closedOnOwnButton && (wxGetLocalTimeMillis() - m_closedAt) < kClosingPressMs;
    m_closedOnOwnButton = -1;
    if (closingPress)
        return;
    TrackMenus(id);
}

void SkinMenuStrip::TrackMenus(int id) {
    while (id >= 0) {
        MenuStripButton* button = FindMenuButton(id);
        if (!button || !button->GetMenu())
            break;
        m_currentId = id;
        m_nextId = -1;
        button->SetHoverTracking(false);
        button->ShowHover();

        m_openMenu = button->GetMenu();
        m_pollTimer.Start(kPollMs);
        const wxRect rect = button->GetRect();
        PopupMenu(m_openMenu, rect.x, rect.GetBottom() + 1);
        m_pollTimer.Stop();
        m_openMenu = nullptr;

        button->SetHoverTracking(true);
        button->ShowNormal();
        id = m_nextId;
    }
    if (id == -2) {
        // Closed over its own button: the press that did it may still arrive.
        m_closedOnOwnButton = m_currentId;
        m_closedAt = wxGetLocalTimeMillis();
    }
    m_currentId = -1;
}

void SkinMenuStrip::OnPollPointer(wxTimerEvent&) {
    if (!m_openMenu)
        return;
    const wxMouseState mouse = wxGetMouseState();
    const int next = NextMenuId(m_currentId, HitMenuButton(mouse.GetPosition()));
    m_nextId = next;
    if (next >= 0)
        CloseOpenMenu();
}

void SkinMenuStrip::CloseOpenMenu() {
    m_pollTimer.Stop();
#ifdef __WXGTK__
    // The toolkit has no call to close a popup menu; GTK's own does it, and the
    // popup loop returns as soon as the menu is hidden.
    if (m_openMenu && m_openMenu->m_menu)
        gtk_menu_popdown(GTK_MENU(m_openMenu->m_menu));
#endif
}

void SkinMenuStrip::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_background && m_background->IsOk())
        dc.DrawBitmap(*m_background, 0, 0, true);
}
