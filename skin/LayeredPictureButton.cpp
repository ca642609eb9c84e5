#include "skin/LayeredPictureButton.h"

#include "skin/ImageUtil.h"
#include "skin/SkinLook.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/image.h>

wxIMPLEMENT_DYNAMIC_CLASS(LayeredPictureButton, wxControl);

wxBEGIN_EVENT_TABLE(LayeredPictureButton, wxControl)
    EVT_PAINT(LayeredPictureButton::OnPaint)
    EVT_ERASE_BACKGROUND(LayeredPictureButton::OnEraseBackground)
    EVT_SET_FOCUS(LayeredPictureButton::OnFocus)
    EVT_KILL_FOCUS(LayeredPictureButton::OnFocus)
    EVT_ENTER_WINDOW(LayeredPictureButton::OnMouseEnter)
    EVT_LEAVE_WINDOW(LayeredPictureButton::OnMouseLeave)
    EVT_MOTION(LayeredPictureButton::OnMotion)
    EVT_LEFT_DOWN(LayeredPictureButton::OnLeftDown)
    EVT_LEFT_UP(LayeredPictureButton::OnLeftUp)
    EVT_KEY_DOWN(LayeredPictureButton::OnKeyDown)
wxEND_EVENT_TABLE()

LayeredPictureButton::LayeredPictureButton(wxBitmap* parentPicture, wxBitmap* normal,
                                           wxBitmap* hover, wxBitmap* pressed, wxWindow* parent,
                                           wxWindowID id, const wxPoint& pos, wxBitmap* focused,
                                           wxBitmap* disabled) {
    Create(parentPicture, normal, hover, pressed, parent, id, pos, focused, disabled);
}

LayeredPictureButton::~LayeredPictureButton() {
    for (wxBitmap*& image : m_images) {
        delete image;
        image = nullptr;
    }
    delete m_outline;
}

bool LayeredPictureButton::Create(wxBitmap* parentPicture, wxBitmap* normal, wxBitmap* hover,
                                  wxBitmap* pressed, wxWindow* parent, wxWindowID id,
                                  const wxPoint& pos, wxBitmap* focused, wxBitmap* disabled) {
    m_parentPicture = parentPicture;
    m_state = STATE_NORMAL;
    m_images[IMAGE_NORMAL] = normal;
    m_images[IMAGE_HOVER] = hover;
    m_images[IMAGE_PRESSED] = pressed;
    m_images[IMAGE_FOCUSED] = focused;
    m_images[IMAGE_DISABLED] = disabled;
    wxSize size = normal && normal->IsOk() ? normal->GetLogicalSize() : wxDefaultSize;
    if (!wxControl::Create(parent, id, pos, size, wxBORDER_NONE, wxDefaultValidator,
                           wxControlNameStr))
        return false;
    BuildOutline();
    return true;
}

void LayeredPictureButton::BuildOutline() {
    // GTK child windows cannot be given a region, so the outline is kept as the
    // picture's opacity and presses outside it are passed on to the parent.
    wxBitmap* normal = m_images[IMAGE_NORMAL];
    if (!normal || !normal->IsOk())
        return;
    wxImage image = normal->ConvertToImage();
    if (!image.HasAlpha() && !image.HasMask())
        return;
    m_outline = new wxImage(image);
}

bool LayeredPictureButton::IsInsidePicture(const wxPoint& pos) const {
    if (!m_outline)
        return true;
    // pos is logical; the outline has the picture's pixels, twice as many at 2x.
    const double scale = m_images[IMAGE_NORMAL]->GetScaleFactor();
    const int x = static_cast<int>((pos.x + 0.5) * scale);
    const int y = static_cast<int>((pos.y + 0.5) * scale);
    if (pos.x < 0 || pos.y < 0 || x >= m_outline->GetWidth() || y >= m_outline->GetHeight())
        return false;
    if (m_outline->HasAlpha() && m_outline->GetAlpha(x, y) == wxIMAGE_ALPHA_TRANSPARENT)
        return false;
    if (m_outline->HasMask() && m_outline->GetRed(x, y) == m_outline->GetMaskRed() &&
        m_outline->GetGreen(x, y) == m_outline->GetMaskGreen() &&
        m_outline->GetBlue(x, y) == m_outline->GetMaskBlue())
        return false;
    return true;
}

bool LayeredPictureButton::PassToParent(wxMouseEvent& event) {
    if (IsInsidePicture(event.GetPosition()))
        return false;
    wxWindow* parent = GetParent();
    if (!parent)
        return false;
    wxMouseEvent forwarded(event);
    forwarded.SetEventObject(parent);
    forwarded.SetId(parent->GetId());
    forwarded.SetPosition(event.GetPosition() + GetPosition());
    parent->GetEventHandler()->ProcessEvent(forwarded);
    return true;
}

bool LayeredPictureButton::Enable(bool enable) {
    bool changed = wxControl::Enable(enable);
    Update();
    Refresh(true);
    return changed;
}

wxSize LayeredPictureButton::DoGetBestSize() const {
    wxBitmap* normal = m_images[IMAGE_NORMAL];
    return normal && normal->IsOk() ? normal->GetLogicalSize() : wxSize(16, 16);
}

void LayeredPictureButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    auto draw = [&dc](wxBitmap* image) {
        if (image && image->IsOk())
            dc.DrawBitmap(*image, 0, 0, true);
    };
    draw(m_images[IMAGE_NORMAL]);
    if (!IsEnabled()) {
        draw(m_images[IMAGE_DISABLED]);
        return;
    }
    if (m_state == STATE_HOVER)
        draw(m_images[IMAGE_HOVER]);
    else if (m_state == STATE_PRESSED)
        draw(m_images[IMAGE_PRESSED]);
    else if (HasFocus())
        draw(m_images[IMAGE_FOCUSED]);
    // Without a focused picture of its own the button still shows where the
    // keyboard is.
    if (HasFocus() && !m_images[IMAGE_FOCUSED])
        SkinLook::DrawFocusMark(dc, wxRect(GetClientSize()).Deflate(3));
}

void LayeredPictureButton::OnEraseBackground(wxEraseEvent& event) {
    if (!m_parentPicture || !m_parentPicture->IsOk()) {
        event.Skip();
        return;
    }
    ImageUtil::DrawPieceUnder(this, *m_parentPicture, event.GetDC());
}

void LayeredPictureButton::SetStateAndRepaint(State state) {
    m_state = state;
    Refresh(true);
    Update();
}

void LayeredPictureButton::OnFocus(wxFocusEvent& event) {
    Refresh(true);
    Update();
    event.Skip();
}

void LayeredPictureButton::OnMouseEnter(wxMouseEvent& event) {
    if (IsInsidePicture(event.GetPosition()))
        SetStateAndRepaint(STATE_HOVER);
}

void LayeredPictureButton::OnMouseLeave(wxMouseEvent&) {
    SetStateAndRepaint(STATE_NORMAL);
}

void LayeredPictureButton::OnMotion(wxMouseEvent& event) {
    // Over the transparent margin the button is not there: no hover look.
    bool inside = IsInsidePicture(event.GetPosition());
    if (inside && m_state == STATE_NORMAL)
        SetStateAndRepaint(STATE_HOVER);
    else if (!inside && m_state == STATE_HOVER)
        SetStateAndRepaint(STATE_NORMAL);
    if (!inside)
        PassToParent(event);
}

void LayeredPictureButton::OnLeftDown(wxMouseEvent& event) {
    if (PassToParent(event))
        return;
    SetStateAndRepaint(STATE_PRESSED);
}

void LayeredPictureButton::OnLeftUp(wxMouseEvent& event) {
    if (m_state != STATE_PRESSED && PassToParent(event))
        return;
    if (m_state == STATE_PRESSED)
        SendClick();
    SetStateAndRepaint(STATE_HOVER);
}

void LayeredPictureButton::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (!event.HasAnyModifiers() &&
        (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER))
        SendClick();
    else
        event.Skip();
}

void LayeredPictureButton::SendClick() {
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    GetEventHandler()->ProcessEvent(click);
}
