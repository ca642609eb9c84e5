#pragma once
// A text with its own font whose text can be replaced, optionally resizing itself.

#include <wx/control.h>
#include <wx/font.h>

class wxBitmap;

class MyStaticText : public wxControl {
public:
    MyStaticText() = default;
    MyStaticText(wxWindow* parent, wxWindowID id, const wxString& text, const wxFont& font,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 long style = wxBORDER_NONE, const wxValidator& validator = wxDefaultValidator);
    ~MyStaticText() override;

    virtual bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                        long style, const wxValidator& validator);

    virtual wxString GetText() const { return m_text; }
    virtual void SetText(const wxString& text);
    // Takes ownership.
    virtual void SetBackgroundPiece(wxBitmap* piece);
    MyStaticText* SetAutoResize(bool autoResize);

    // Text, not a stop for the keyboard.
    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override;
    void DoEnable(bool enable) override;
    virtual void OnPaint(wxPaintEvent& event);
    virtual void OnEraseBackground(wxEraseEvent& event);

private:
    bool m_autoResize = false;
    wxBitmap* m_backgroundPiece = nullptr;
    wxFont m_font;
    wxString m_text;

    wxDECLARE_DYNAMIC_CLASS(MyStaticText);
    wxDECLARE_EVENT_TABLE();
};
