#pragma once
// A check box: native box, own caption, printed on a piece of the parent's picture.
// Each click, or Space while it has the focus, queues wxEVT_SKIN_CHECKBOX_CLICKED;
// read the new state with IsChecked.

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/event.h>

wxDECLARE_EVENT(wxEVT_SKIN_CHECKBOX_CLICKED, wxCommandEvent);

class SkinCheckBox : public wxControl {
public:
    SkinCheckBox() = default;
    SkinCheckBox(wxWindow* parent, wxWindowID id, const wxString& caption,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 long style = wxBORDER_NONE, const wxValidator& validator = wxDefaultValidator);

    bool Create(wxWindow* parent, wxWindowID id, const wxString& caption,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = wxBORDER_NONE, const wxValidator& validator = wxDefaultValidator);

    void SetBackgroundPiece(const wxBitmap& piece);
    // The control's own enabled flag: while false the box is drawn greyed (its tick
    // still shown), clicks and keys are ignored and Tab passes it by.
    void SetEnabled(bool enabled);
    bool GetEnabled() const { return m_enabled; }
    // Enabled by its own flag and by every parent.
    bool IsUsable() const { return m_enabled && IsEnabled(); }
    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked);
    // True once the user has clicked the box.
    bool IsTouched() const { return m_touched; }
    void SetCaption(const wxString& caption);
    const wxString& GetCaption() const { return m_caption; }

    bool AcceptsFocus() const override { return m_enabled; }
    // Always in the window's focus order, which the toolkit fixes once; whether
    // Tab stops here follows the enabled flag (see SetEnabled).
    bool AcceptsFocusFromKeyboard() const override { return true; }

protected:
    void DoEnable(bool enable) override;
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);

private:
    void LayOut();
    void Toggle();

    wxBitmap m_backgroundPiece;
    wxString m_caption;
    int m_captionWidth = 0;
    int m_captionHeight = 0;
    int m_spacing = 6;
    bool m_checked = false;
    bool m_touched = false;
    bool m_enabled = true;
    wxColour m_captionColour = wxColour(0, 0, 0);

    wxDECLARE_DYNAMIC_CLASS(SkinCheckBox);
    wxDECLARE_EVENT_TABLE();
};
