#pragma once
// A caption printed on a piece of the parent's picture, a few pixels in from the
// left and vertically centred on it; its text can be replaced, optionally resizing
// the control.

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/font.h>

class PictureCaption : public wxControl {
public:
    PictureCaption() = default;
    PictureCaption(wxWindow* parent, wxWindowID id, const wxString& text, const wxFont& font,
                   const wxBitmap& backgroundPiece, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize, long style = wxBORDER_NONE,
                   const wxValidator& validator = wxDefaultValidator);

    virtual bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                        long style, const wxValidator& validator);

    virtual wxString GetText() const { return m_text; }
    // The font the text is printed in.
    const wxFont& GetTextFont() const { return m_font; }
    int GetTextInset() const { return m_textInset; }
    virtual void SetText(const wxString& text);
    virtual void SetBackgroundPiece(const wxBitmap& piece);
    PictureCaption* SetAutoResize(bool autoResize);
    void SetTextColour(const wxColour& colour);
    // Pixels between the left edge and the text; 4 unless set.
    void SetTextInset(int inset);

    // Text, not a stop for the keyboard.
    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override;
    void DoEnable(bool enable) override;
    virtual void OnPaint(wxPaintEvent& event);
    virtual void OnEraseBackground(wxEraseEvent& event);

private:
    bool m_autoResize = false;
    int m_textInset = 4;
    wxBitmap m_backgroundPiece;
    wxFont m_font;
    wxString m_text;
    wxColour m_textColour = *wxBLACK;
    wxColour m_secondColour;

    wxDECLARE_DYNAMIC_CLASS(PictureCaption);
    wxDECLARE_EVENT_TABLE();
};
