#include "ui/TitleBar.h"

#include "core/AppUtil.h"
#include "skin/ThemeButton.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "skin/DragLabel.h"
#include "ui/WindowIds.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/toplevel.h>

wxIMPLEMENT_DYNAMIC_CLASS(TitleBar, SkinPanel);

wxBEGIN_EVENT_TABLE(TitleBar, SkinPanel)
    EVT_PAINT(TitleBar::OnPaint)
    EVT_BUTTON(ID_TITLE_CLOSE, TitleBar::OnCloseButton)
    EVT_BUTTON(ID_TITLE_MINIMIZE, TitleBar::OnMinimizeButton)
wxEND_EVENT_TABLE()

TitleBar::TitleBar() = default;

bool TitleBar::Create(wxWindow* parent, wxBitmap* background, wxWindowID id, const wxPoint& pos,
                      const wxSize& size, long style) {
    if (!SkinPanel::Create(parent, background, id, pos, size, style, "TitleBar"))
        return false;
    SetCanFocus(false);

    // The icon is loaded once here; painting only draws it.
    wxBitmap icon = ImageUtil::GetBitmap("image/application/application.png", wxBITMAP_TYPE_PNG);
    if (icon.IsOk() && icon.GetLogicalSize() != wxSize(16, 16)) {
        // 16 x 16 on the bar, in the pixels of the display's scale.
        const double scale = icon.GetScaleFactor();
        icon = wxBitmap(icon.ConvertToImage().Scale(wxRound(16 * scale), wxRound(16 * scale)), -1,
                        scale);
    }
    m_icon = icon;

    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.MakeBold();
    new DragLabel(this, background, AppUtil::GetProductName(), wxGetTopLevelParent(parent),
                  ID_TITLE_CAPTION, wxPoint(37, 8), font, wxColour(255, 255, 255, wxALPHA_OPAQUE));

    const int width = GetSize().x;
    wxBitmap closeNormal = ImageUtil::GetBitmap("image/base/close-normal.png", wxBITMAP_TYPE_PNG);
    const int closeX = width - (closeNormal.IsOk() ? closeNormal.GetLogicalSize().x : 20) - 4;
    m_close = AddButton(ID_TITLE_CLOSE, "close", closeX);
    wxBitmap minimizeNormal =
        ImageUtil::GetBitmap("image/base/minimize-normal.png", wxBITMAP_TYPE_PNG);
    m_minimize =
        AddButton(ID_TITLE_MINIMIZE, "minimize",
                  closeX - (minimizeNormal.IsOk() ? minimizeNormal.GetLogicalSize().x : 20) - 1);
    m_dragger.Attach(this);
    return true;
}

PictureButton* TitleBar::AddButton(int id, const wxString& image, int x) {
    PictureButton* button = ThemeButton::Create(this, id, "image/base/" + image, wxPoint(x, 2),
                                                GetBitmap(), wxSize(20, 20));
    // The window manager's keys minimize and close; the focus stays in the content.
    button->SetAcceptsFocus(false);
    return button;
}

wxSize TitleBar::DoGetBestSize() const {
    wxBitmap* background = const_cast<TitleBar*>(this)->GetBitmap();
    return background && background->IsOk() ? background->GetLogicalSize() : GetSize();
}

void TitleBar::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (wxBitmap* background = GetBitmap(); background && background->IsOk())
        dc.DrawBitmap(*background, 0, 0, true);
    if (m_icon.IsOk())
        dc.DrawBitmap(m_icon, 13, 8, true);
}

void TitleBar::OnCloseButton(wxCommandEvent&) {
    wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    if (top)
        top->GetEventHandler()->QueueEvent(new wxCloseEvent(wxEVT_CLOSE_WINDOW, 0));
}

void TitleBar::OnMinimizeButton(wxCommandEvent&) {
    if (auto* top = wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxTopLevelWindow))
        top->Iconize(true);
}
