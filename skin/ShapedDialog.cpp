#include "skin/ShapedDialog.h"

#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "skin/ThemeButton.h"
#include "skin/ShapedFrame.h"
#include "skin/DragLabel.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

wxIMPLEMENT_DYNAMIC_CLASS(ShapedDialog, wxDialog);

wxBEGIN_EVENT_TABLE(ShapedDialog, wxDialog)
    EVT_ERASE_BACKGROUND(ShapedDialog::OnEraseBackground)
    EVT_BUTTON(ShapedDialog::ID_CLOSE, ShapedDialog::OnCloseButton)
    EVT_CHAR_HOOK(ShapedDialog::OnCharHook)
wxEND_EVENT_TABLE()

ShapedDialog::ShapedDialog(wxBitmap* background, wxWindow* parent, wxWindowID id,
                           const wxString& title, const wxPoint& pos, int titleBarHeight,
                           const wxPoint& titlePos, const wxSize& closeMargin) {
    Create(background, parent, id, title, pos, titleBarHeight, titlePos, closeMargin);
}

ShapedDialog::~ShapedDialog() {
    delete m_background;
}

bool ShapedDialog::Create(wxBitmap* background, wxWindow* parent, wxWindowID id,
                          const wxString& title, const wxPoint& pos, int titleBarHeight,
                          const wxPoint& titlePos, const wxSize& closeMargin) {
    if (background != m_background)
        delete m_background;
    m_background = background;
    m_titleBarHeight = titleBarHeight;
    m_titlePos = titlePos;
    m_closeMargin = closeMargin;

    bool haveBackground = m_background && m_background->IsOk();
    wxSize size = haveBackground ? m_background->GetLogicalSize() : wxSize(300, 200);
    // The picture gives the dialog its whole look; the erase handler paints it.
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    // Undecorated like the main window: a window manager frame would cut the picture.
    if (!wxDialog::Create(parent, id, title, pos, size, wxFRAME_SHAPED | wxBORDER_NONE,
                          wxDialogNameStr))
        return false;
    SetShape(ShapedFrame::MakeShapeRegion(m_background));

    wxFont bold = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    bold.SetWeight(wxFONTWEIGHT_BOLD);
    m_titleLabel = new DragLabel(this, m_background, title, this, wxID_ANY, m_titlePos, bold,
                                 wxColour(255, 255, 255));

    // The close picture's width decides where the button stands.
    const wxBitmap closeNormal = ImageUtil::GetBitmap("image/base/close-normal.png");
    const wxSize closeSize = closeNormal.IsOk() ? closeNormal.GetLogicalSize() : wxSize(16, 16);
    const wxPoint closePos(size.GetWidth() - m_closeMargin.GetWidth() - closeSize.GetWidth(),
                           m_closeMargin.GetHeight());
    m_closeButton =
        ThemeButton::Create(this, ID_CLOSE, "image/base/close", closePos, m_background, closeSize);
    // Only the title strip drags; the rest of the dialog ignores presses.
    m_dragger.Attach(this, this,
                     [this](const wxPoint& press) { return press.y <= m_titleBarHeight; });
    return true;
}

void ShapedDialog::OnEraseBackground(wxEraseEvent& event) {
    if (!m_background || !m_background->IsOk())
        return;
    if (wxDC* dc = event.GetDC()) {
        dc->DrawBitmap(*m_background, 0, 0, true);
    } else {
        wxClientDC client(this);
        client.DrawBitmap(*m_background, 0, 0, true);
    }
}

void ShapedDialog::AdoptCoveringPanel(wxWindow* panel) {
    panel->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        wxMouseEvent forwarded(event);
        forwarded.SetEventObject(this);
        forwarded.SetId(GetId());
        GetEventHandler()->ProcessEvent(forwarded);
    });
    if (m_titleLabel)
        m_titleLabel->Reparent(panel);
    if (m_closeButton)
        m_closeButton->Reparent(panel);
}

void ShapedDialog::OnCloseButton(wxCommandEvent&) {
    CloseDialog();
}

void ShapedDialog::CloseDialog() {
    if (IsModal())
        EndModal(ID_CLOSE);
    else
        Destroy();
}

void ShapedDialog::OnCharHook(wxKeyEvent& event) {
    // The close button has no keyboard focus of its own; Escape stands for it.
    if (event.GetKeyCode() == WXK_ESCAPE && !event.HasAnyModifiers())
        CloseDialog();
    else
        event.Skip();
}
