#pragma once
// A skinned menu strip: picture buttons that pop up their menus. With a menu open,
// moving onto another menu button closes it and opens that one, as a native menu
// bar does.

#include <wx/bitmap.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include <memory>
#include <vector>

class MenuStripButton;
class wxMenu;
class wxPaintEvent;

class SkinMenuStrip : public wxPanel {
public:
    SkinMenuStrip();
    ~SkinMenuStrip() override;

    // background: the strip's piece of the face image; the bar owns it and takes
    // its size.
    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                long style);

    // Adds a button carrying menu (owned by the button) with its two pictures.
    void AddMenu(int id, wxMenu* menu, wxBitmap* normal, wxBitmap* pressed);

    // Pops up the menus from id on until one closes without the pointer on another
    // menu button. Modal.
    void TrackMenus(int id);

    // Where to go after the pointer moved while menu current was open and is now
    // over the button hovered (-1: none): -2 stay (own button), -1 nothing to
    // switch to, else the menu to open next.
    static int NextMenuId(int current, int hovered);

    // The id of the menu button under a screen point, -1 when none.
    int HitMenuButton(const wxPoint& screenPoint) const;
    MenuStripButton* FindMenuButton(int id) const;
    int GetOpenMenuId() const { return m_currentId; }

    // The menus have their own keys; the strip is no stop for Tab.
    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMenuButton(wxCommandEvent& event);
    void OnPollPointer(wxTimerEvent& event);
    void CloseOpenMenu();

    std::unique_ptr<wxBitmap> m_background;
    std::vector<MenuStripButton*> m_buttons;
    int m_nextX = 8;
    int m_currentId = -1;
    int m_nextId = -1;
    wxMenu* m_openMenu = nullptr;
    wxTimer m_pollTimer;
    // The press that closes a menu over its own button must not reopen it. GTK
    // swallows that press; a toolkit that hands it on to the button reaches here.
    int m_closedOnOwnButton = -1;
    wxLongLong m_closedAt = 0;

    wxDECLARE_EVENT_TABLE();
};
