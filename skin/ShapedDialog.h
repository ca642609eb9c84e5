#pragma once
// A modal dialog cut out of its picture, with a bold white title that drags it and
// a close button in the top right corner. ShowModal returns ID_CLOSE when closed,
// by that button or by Escape.

#include "skin/WindowDragger.h"

#include <wx/dialog.h>

class wxBitmap;
class DragLabel;
class PictureButton;

class ShapedDialog : public wxDialog {
public:
    enum { ID_CLOSE = 101 };

    ShapedDialog() = default;
    // Takes ownership of background.
    ShapedDialog(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxString& title,
                 const wxPoint& pos = wxDefaultPosition, int titleBarHeight = 25,
                 const wxPoint& titlePos = wxPoint(10, 5),
                 const wxSize& closeMargin = wxSize(10, 2));
    ~ShapedDialog() override;

    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxString& title,
                const wxPoint& pos = wxDefaultPosition, int titleBarHeight = 25,
                const wxPoint& titlePos = wxPoint(10, 5),
                const wxSize& closeMargin = wxSize(10, 2));

    wxBitmap* GetBackgroundBitmap() const { return m_background; }
    DragLabel* GetTitleLabel() const { return m_titleLabel; }
    PictureButton* GetCloseButton() const { return m_closeButton; }

    // For a panel laid over the whole dialog, title band included (at its origin):
    // presses on it still drag the dialog, and the title and close button, which it
    // would hide, move onto it, keeping their places.
    void AdoptCoveringPanel(wxWindow* panel);

protected:
    void OnEraseBackground(wxEraseEvent& event);
    void OnCloseButton(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    // What the close button does.
    void CloseDialog();

private:
    DragLabel* m_titleLabel = nullptr;
    PictureButton* m_closeButton = nullptr;
    wxBitmap* m_background = nullptr;
    int m_titleBarHeight = 25;
    wxPoint m_titlePos = wxPoint(10, 5);
    wxSize m_closeMargin = wxSize(10, 2);
    WindowDragger m_dragger;

    wxDECLARE_DYNAMIC_CLASS(ShapedDialog);
    wxDECLARE_EVENT_TABLE();
};
