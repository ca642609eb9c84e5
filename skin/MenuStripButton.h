#pragma once
// A menu bar entry: carries its menu and sends wxEVT_BUTTON on the press; the menu
// bar pops the menu.

#include <wx/control.h>

class wxBitmap;
class wxMenu;

class MenuStripButton : public wxControl {
public:
    MenuStripButton() = default;
    // Menu and pictures become the button's.
    MenuStripButton(wxMenu* menu, wxBitmap* normal, wxBitmap* hover, wxWindow* parent,
                    wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                    long style = wxBORDER_NONE, const wxValidator& validator = wxDefaultValidator);
    ~MenuStripButton() override;

    bool Create(wxMenu* menu, wxBitmap* normal, wxBitmap* hover, wxWindow* parent, wxWindowID id,
                const wxPoint& pos = wxDefaultPosition, long style = wxBORDER_NONE,
                const wxValidator& validator = wxDefaultValidator);

    wxMenu* GetMenu() const { return m_menu; }
    // Not owned: the picture of the menu bar.
    void SetParentBitmap(wxBitmap* picture);
    // Cuts the piece of the parent picture under the button.
    void UpdateBackgroundPiece();
    void ShowHover();
    void ShowNormal();
    bool IsHoverShown() const { return m_hoverShown; }
    void SetHoverTracking(bool track) { m_hoverTracking = track; }
    // Owned; drawn on top while the button is disabled.
    void SetDisabledBitmap(wxBitmap* bitmap);

    bool Enable(bool enable = true) override;
    // Menus open from the keyboard by their access keys; the button takes no focus.
    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override;
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnMouseEnter(wxMouseEvent& event);
    void OnMouseLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);

private:
    void SetHoverShown(bool shown);

    bool m_hoverShown = false;
    bool m_hoverTracking = true;
    wxBitmap* m_normal = nullptr;
    wxBitmap* m_hover = nullptr;
    wxBitmap* m_disabled = nullptr;
    wxBitmap* m_backgroundPiece = nullptr;
    wxBitmap* m_parentPicture = nullptr;
    wxMenu* m_menu = nullptr;

    wxDECLARE_DYNAMIC_CLASS(MenuStripButton);
    wxDECLARE_EVENT_TABLE();
};
