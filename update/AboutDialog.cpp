#include "update/AboutDialog.h"

#include "core/AppUtil.h"
#include "core/DialogSeam.h"
#include "core/StringUtil.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "skin/LayeredPictureButton.h"
#include "skin/DragLabel.h"
#include "update/DomainOption.h"

#include <wx/custombgwin.h>
#include <wx/hyperlink.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/translation.h>

namespace {
constexpr int kVersionY = 120;
constexpr int kCopyrightY = 140;
constexpr int kLinkY = 160;
const wxSize kLinkSize(129, 17);
const wxPoint kOkPos(340, 240);

using BackgroundPanel = wxCustomBackgroundWindow<wxPanel>;
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(AboutDialog, ShapedDialog);

wxBEGIN_EVENT_TABLE(AboutDialog, ShapedDialog)
    EVT_BUTTON(AboutDialog::ID_OK_BUTTON, AboutDialog::OnCloseButton)
wxEND_EVENT_TABLE()

AboutDialog::AboutDialog(wxBitmap* background, wxWindow* parent, wxWindowID id,
                         const wxString& title, const wxPoint& pos)
    : ShapedDialog(background, parent, id, title, pos, 25, wxPoint(10, 5), wxSize(12, 5)) {
    const bool hasBackground = background && background->IsOk();
    const wxSize size = hasBackground ? background->GetLogicalSize() : GetClientSize();
    m_width = size.x;

    auto* panel = new BackgroundPanel;
    panel->Create(this, wxID_ANY, wxDefaultPosition, size, wxTAB_TRAVERSAL | wxNO_BORDER);
    if (hasBackground)
        panel->SetBackgroundBitmap(*background);
    m_panel = panel;
    AdoptCoveringPanel(m_panel);

    m_okButton = new LayeredPictureButton(
        background, ImageUtil::CreateBitmap("image/about/ok-normal.png"),
        ImageUtil::CreateBitmap("image/about/ok-current.png"),
        ImageUtil::CreateBitmap("image/about/ok-pressed.png"), m_panel, ID_OK_BUTTON, kOkPos);

    m_versionLine = CreateCentredLine(MakeVersionText(), kVersionY);
    m_copyrightLine = CreateCentredLine(MakeCopyrightText(), kCopyrightY);

    const wxString supportUrl = g_option ? g_option->GetSupportUrl() : wxString();
    m_supportLink = new wxHyperlinkCtrl(m_panel, wxID_ANY, _("Product Support Page"), supportUrl,
                                        wxDefaultPosition, kLinkSize);
    // 129 x 17 is too narrow for the label in some desktop fonts; never cut it.
    wxSize linkSize = kLinkSize;
    linkSize.IncTo(m_supportLink->GetBestSize());
    m_supportLink->SetSize(linkSize);
    m_supportLink->Move((m_width - m_supportLink->GetSize().x) / 2, kLinkY);
    // The link opens its page as every other web command does, failure box included.
    m_supportLink->Bind(wxEVT_HYPERLINK,
                        [this](wxHyperlinkEvent& event) { OpenInBrowser(event.GetURL(), this); });
    Bind(wxEVT_CHAR_HOOK, &AboutDialog::OnReturnKey, this);
    m_okButton->SetFocus();
}

void AboutDialog::OnReturnKey(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    // On the link, Return opens the page as the link's own key.
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !event.HasAnyModifiers() &&
        FindFocus() != m_supportLink)
        CloseDialog();
    else
        event.Skip(); // Escape goes on to the base dialog
}

AboutDialog::~AboutDialog() = default;

wxString AboutDialog::MakeVersionText() {
    return AppUtil::GetProductName() + " " + AppUtil::GetVersion();
}

wxString AboutDialog::MakeCopyrightText() {
    // TRANSLATORS: %1$s is the year, %2$s the maker, "Brisklowan".
    return wxString::Format(_("Copyright (C) %1$s %2$s. All rights reserved."),
                            StringUtil::GetBuildYear(), AppUtil::GetMakerName());
}

wxStaticText* AboutDialog::CreateCentredLine(const wxString& text, int y) {
    auto* line = new wxStaticText(m_panel, wxID_ANY, text, wxDefaultPosition, wxDefaultSize, 0);
    line->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold());
    // Measure again with the bold font: the size taken at creation would cut off
    // the end of the text and put the centre in the wrong place.
    // GTK reports the old best size until the new style is applied, so take the
    // text's own extent as well.
    line->InvalidateBestSize();
    wxSize size = line->GetTextExtent(text);
    size.IncTo(line->GetBestSize());
    line->SetSize(size);
    line->Move((m_width - line->GetSize().x) / 2, y);
    return line;
}
