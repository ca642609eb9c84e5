#pragma once
// A picture button drawn as its normal picture with a state picture on top. Presses
// on transparent pixels of the picture are handed to the window below, as if the
// button were cut to its outline. Space and Return click it while it has the focus.

#include <wx/control.h>

class wxBitmap;
class wxImage;

class LayeredPictureButton : public wxControl {
public:
    enum State { STATE_NORMAL, STATE_HOVER, STATE_PRESSED };
    enum ImageIndex { IMAGE_NORMAL, IMAGE_HOVER, IMAGE_PRESSED, IMAGE_FOCUSED, IMAGE_DISABLED };

    LayeredPictureButton() = default;
    // parentPicture is the whole picture of the parent (not owned); the images become
    // the button's; any but normal may be null.
    LayeredPictureButton(wxBitmap* parentPicture, wxBitmap* normal, wxBitmap* hover,
                         wxBitmap* pressed, wxWindow* parent, wxWindowID id,
                         const wxPoint& pos = wxDefaultPosition, wxBitmap* focused = nullptr,
                         wxBitmap* disabled = nullptr);
    ~LayeredPictureButton() override;

    bool Create(wxBitmap* parentPicture, wxBitmap* normal, wxBitmap* hover, wxBitmap* pressed,
                wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                wxBitmap* focused = nullptr, wxBitmap* disabled = nullptr);

    bool Enable(bool enable = true) override;
    State GetState() const { return m_state; }

    // True when the picture is opaque at pos (client coordinates); presses elsewhere
    // fall through to the parent.
    bool IsInsidePicture(const wxPoint& pos) const;

protected:
    wxSize DoGetBestSize() const override;
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnFocus(wxFocusEvent& event);
    void OnMouseEnter(wxMouseEvent& event);
    void OnMouseLeave(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);

private:
    void SendClick();
    void BuildOutline();
    bool PassToParent(wxMouseEvent& event);
    void SetStateAndRepaint(State state);

    wxBitmap* m_parentPicture = nullptr;
    State m_state = STATE_NORMAL;
    wxBitmap* m_images[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    wxImage* m_outline = nullptr; // opacity of the normal picture, for hit tests

    wxDECLARE_DYNAMIC_CLASS(LayeredPictureButton);
    wxDECLARE_EVENT_TABLE();
};
