#pragma once
// A one-line text sized to itself, drawn transparently over the parent's picture.

#include <wx/control.h>
#include <wx/font.h>

class wxBitmap;

class TransparentLabel : public wxControl {
public:
    TransparentLabel() = default;
    // parentPicture: the whole picture of the parent, not owned (may be null).
    TransparentLabel(wxBitmap* parentPicture, const wxString& text, wxWindow* parent, wxWindowID id,
                     const wxPoint& pos, const wxFont& font, const wxColour& colour);

    bool Create(wxBitmap* parentPicture, const wxString& text, wxWindow* parent, wxWindowID id,
                const wxPoint& pos, const wxFont& font, const wxColour& colour);

    void SetText(const wxString& text);
    const wxString& GetText() const { return m_text; }
    bool SetFont(const wxFont& font) override;

    // Text, not a stop for the keyboard.
    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override;
    void DoEnable(bool enable) override;
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void FitToText();

    wxBitmap* m_parentPicture = nullptr;
    wxString m_text;
    wxFont m_font;
    wxColour m_colour;

private:
    wxDECLARE_DYNAMIC_CLASS(TransparentLabel);
    wxDECLARE_EVENT_TABLE();
};
