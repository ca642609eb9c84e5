#pragma once
// The skinned title bar: application icon, caption, minimize and close buttons.
// Dragging it moves the whole window.

#include "skin/WindowDragger.h"
#include "skin/SkinPanel.h"

class PictureButton;
class wxCommandEvent;
class wxPaintEvent;

class TitleBar : public SkinPanel {
public:
    TitleBar();

    // background: the title bar's piece of the face image; the title bar owns it.
    bool Create(wxWindow* parent, wxBitmap* background, wxWindowID id, const wxPoint& pos,
                const wxSize& size, long style);

    wxSize DoGetBestSize() const override;
    // Nothing on the title bar takes the keyboard focus, the bar included.
    bool AcceptsFocus() const override { return false; }

private:
    PictureButton* AddButton(int id, const wxString& image, int x);
    void OnPaint(wxPaintEvent& event);
    void OnCloseButton(wxCommandEvent& event);
    void OnMinimizeButton(wxCommandEvent& event);

    wxBitmap m_icon;
    PictureButton* m_close = nullptr;
    PictureButton* m_minimize = nullptr;
    WindowDragger m_dragger;

    wxDECLARE_DYNAMIC_CLASS(TitleBar);
    wxDECLARE_EVENT_TABLE();
};
