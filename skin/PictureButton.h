#pragma once
// The general picture button: normal, hover, pressed and disabled pictures over a
// piece of the parent's picture. Sends wxEVT_BUTTON with its own id, on a click or
// on Space or Return while it has the keyboard focus.

#include <wx/bitmap.h>
#include <wx/control.h>

class PictureButton : public wxControl {
public:
    enum State {
        STATE_NORMAL,
        STATE_HOVER,
        STATE_PRESSED,
        STATE_RELEASED,
        STATE_LEFT,
        STATE_DISABLED
    };

    PictureButton() = default;
    PictureButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize, long style = wxBORDER_NONE,
                  const wxValidator& validator = wxDefaultValidator);
    ~PictureButton() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxBORDER_NONE,
                const wxValidator& validator = wxDefaultValidator);

    // Normal, pressed and hover pictures become the button's; chainable.
    PictureButton* SetNormalBitmap(wxBitmap* bitmap);
    PictureButton* SetPressedBitmap(wxBitmap* bitmap);
    PictureButton* SetHoverBitmap(wxBitmap* bitmap);
    // Not owned: usually one of the pictures above.
    PictureButton* SetDisabledBitmap(wxBitmap* bitmap);
    // A text drawn over a plain picture, centred, in the window's bold font: the
    // picture need not carry words, so the label can be translated. pressed: the
    // colour while pressed (the normal one when not given). Also the label.
    PictureButton* SetCaption(const wxString& text, const wxColour& colour,
                              const wxColour& pressed = wxNullColour);
    const wxString& GetCaption() const { return m_caption; }
    const wxBitmap* GetNormalBitmap() const { return m_normal; }

    void SetBackgroundPiece(const wxBitmap& piece);
    bool HasBackgroundPiece() const { return m_hasBackgroundPiece; }
    // From then on a plain fill of the colour replaces the background piece.
    bool SetBackgroundColour(const wxColour& colour) override;

    bool Enable(bool enable = true) override;
    virtual bool Disable();

    State GetState() const { return m_state; }
    // The picture the current state shows (null when it has none).
    const wxBitmap* GetShownBitmap() const;

    virtual void OnMouseEnter(wxMouseEvent& event);
    virtual void OnMouseLeave(wxMouseEvent& event);
    virtual void OnLeftDown(wxMouseEvent& event);
    virtual void OnLeftDClick(wxMouseEvent& event);
    virtual void OnLeftUp(wxMouseEvent& event);

    // A click for the keyboard: what Space and Return do.
    void Press();

    // Buttons that should never hold the keyboard focus (a title bar's) say so.
    void SetAcceptsFocus(bool accepts);
    bool AcceptsFocus() const override { return m_acceptsFocus; }

protected:
    wxSize DoGetBestSize() const override;
    void OnPaint(wxPaintEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);

private:
    void Repaint(bool erase);
    void SendClick();

    wxBitmap m_backgroundPiece;
    bool m_hasBackgroundPiece = false;
    wxBitmap* m_normal = nullptr;
    wxBitmap* m_pressed = nullptr;
    wxBitmap* m_hover = nullptr;
    wxBitmap* m_disabled = nullptr;
    State m_state = STATE_NORMAL;
    bool m_acceptsFocus = true;
    wxString m_caption;
    wxColour m_captionColour;
    wxColour m_pressedCaptionColour;

    wxDECLARE_DYNAMIC_CLASS(PictureButton);
    wxDECLARE_EVENT_TABLE();
};
