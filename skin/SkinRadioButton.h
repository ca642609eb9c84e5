#pragma once
// A radio button: native circle, own caption; a RadioGroup makes its members
// exclusive. A click on an unselected member queues wxEVT_SKIN_RADIOBUTTON_SELECTED,
// and so do Space and the arrow keys, which move the selection within the group.
// Tab stops at the group's selected member only.

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/event.h>

wxDECLARE_EVENT(wxEVT_SKIN_RADIOBUTTON_SELECTED, wxCommandEvent);

class RadioGroup;

class SkinRadioButton : public wxControl {
public:
    SkinRadioButton() = default;
    SkinRadioButton(wxWindow* parent, wxWindowID id, const wxString& caption,
                    const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                    long style = wxBORDER_NONE, const wxValidator& validator = wxDefaultValidator);

    bool Create(wxWindow* parent, wxWindowID id, const wxString& caption,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = wxBORDER_NONE, const wxValidator& validator = wxDefaultValidator);

    // Selects the button (and, in a group, deselects the others). false is ignored.
    void SetValue(bool value);
    bool GetValue() const { return m_selected; }
    void SetBackgroundPiece(const wxBitmap& piece);
    void SetEnabled(bool enabled);
    bool GetEnabled() const { return m_enabled; }
    // Enabled by its own flag and by every parent.
    bool IsUsable() const { return m_enabled && IsEnabled(); }
    void SetSpacing(int spacing);
    bool SetFont(const wxFont& font) override;
    void SetCaptionColour(const wxColour& colour);
    const wxString& GetCaption() const { return m_caption; }

    // Used by RadioGroup.
    void AttachToGroup(RadioGroup* group, int index);
    RadioGroup* GetGroup() const { return m_group; }
    int GetGroupIndex() const { return m_index; }
    void SetSelectedMark(bool selected);

    bool AcceptsFocus() const override { return m_enabled; }
    // Always in the window's focus order, which the toolkit fixes once; whether
    // Tab stops here follows the enabled flag and the group's choice.
    bool AcceptsFocusFromKeyboard() const override { return true; }

protected:
    void DoEnable(bool enable) override;
    void OnEraseBackground(wxEraseEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);

private:
    void LayOut();
    // As in a native group, Tab reaches the chosen member; the arrows do the rest.
    void UpdateTabStop();
    // Selects this button as a click does; false when it was selected already or
    // cannot be used.
    bool Choose();
    // The next usable member of the group in direction step (+1 / -1), or null.
    SkinRadioButton* Neighbour(int step) const;

    RadioGroup* m_group = nullptr;
    int m_index = -1;
    wxBitmap m_backgroundPiece;
    wxString m_caption;
    bool m_selected = false;
    int m_spacing = 6;
    wxColour m_captionColour;
    bool m_enabled = true;

    wxDECLARE_DYNAMIC_CLASS(SkinRadioButton);
    wxDECLARE_EVENT_TABLE();
};
