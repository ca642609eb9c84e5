#include "ui/SourcePasswordDialog.h"

#include "engine/api/WipeSecret.h"
#include "skin/DragLabel.h"
#include "skin/ImageUtil.h"
#include "skin/PictureButton.h"
#include "skin/ThemeButton.h"

#include <wx/custombgwin.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/intl.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <utility>

namespace {
// On the dialog picture: the icon ends at y 108, a rule runs at y 226.
const wxSize kSize(440, 280);
const int kMargin = 20;
const int kNameY = 114;
const int kAskY = 133;
const wxRect kBox(80, 154, 280, 26);
const int kProblemY = 186; // two lines at most, above the rule
const int kButtonY = 236;
const wxSize kButton(88, 28);
const int kButtonGap = 8;
const int kButtonPadding = 14;

const wxColour kText(38, 52, 70);
const wxColour kSoftText(96, 104, 118);
const wxColour kProblemText(176, 48, 48);
const wxColour kAccentInk(30, 96, 170);

using BackgroundPanel = wxCustomBackgroundWindow<wxPanel>;

// The dialog's picture, or a plain one of its colours when the theme lacks it.
wxBitmap* DialogPicture() {
    for (const char* name : {"image/dialog/background.png", "image/base/background.png"})
        if (wxBitmap* picture = ImageUtil::CreateBitmap(name))
            return picture;
    auto* plain = new wxBitmap(kSize.x, kSize.y);
    wxMemoryDC dc(*plain);
    dc.SetBackground(wxBrush(wxColour(233, 238, 244)));
    dc.Clear();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxColour(30, 60, 96)));
    dc.DrawRectangle(0, 0, kSize.x, 30);
    return plain;
}

void Wipe(wxString& text) {
    for (wxString::iterator it = text.begin(); it != text.end(); ++it)
        *it = wxUniChar(0);
    text.clear();
}
} // namespace

SourcePasswordDialog::SourcePasswordDialog(wxWindow* parent, const wxString& fileName,
                                           const wxString& problem)
    : ShapedDialog(DialogPicture(), parent, wxID_ANY, _("Password Required"), wxDefaultPosition, 25,
                   wxPoint(10, 5), wxSize(12, 5)) {
    wxBitmap* picture = GetBackgroundBitmap();
    const wxSize size = picture->GetLogicalSize();

    auto* panel = new BackgroundPanel;
    panel->Create(this, wxID_ANY, wxDefaultPosition, size, wxTAB_TRAVERSAL | wxNO_BORDER);
    panel->SetBackgroundBitmap(*picture);
    m_panel = panel;
    AdoptCoveringPanel(m_panel);

    const wxFont normal = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    // A long name gives way in its middle; the sentence around it stays whole.
    const wxString sentence = _("%s is protected by a password.");
    wxClientDC dc(m_panel);
    dc.SetFont(normal.Bold());
    const int room = size.x - 2 * kMargin - dc.GetTextExtent(wxString::Format(sentence, "")).x;
    const wxString quoted = wxString(wxUniChar(0x201C)) + fileName + wxUniChar(0x201D);
    const wxStaticText* name = AddLine(
        wxString::Format(sentence, wxControl::Ellipsize(quoted, dc, wxELLIPSIZE_MIDDLE, room)),
        kNameY, normal.Bold(), kText);
    // Chinese faces stand taller: the second line keeps clear of the first.
    AddLine(_("Enter its owner password to encrypt it with the new settings."),
            std::max(kAskY, name->GetRect().GetBottom() + 1), normal, kSoftText);

    m_box = new wxTextCtrl(m_panel, ID_PASSWORD, wxEmptyString, kBox.GetPosition(), kBox.GetSize(),
                           wxTE_PASSWORD | wxTE_PROCESS_ENTER);
    m_box->SetToolTip(_("The owner password; the open password is enough when the file "
                        "restricts nothing."));
    // Why it asks again may take two lines: wrapped, never cut.
    const int width = size.x - 2 * kMargin;
    m_problem = new wxStaticText(m_panel, wxID_ANY, problem, wxPoint(kMargin, kProblemY),
                                 wxSize(width, -1), wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    m_problem->SetFont(normal);
    m_problem->SetForegroundColour(kProblemText);
    m_problem->Wrap(width);
    m_problem->SetSize(width, std::max(m_problem->GetBestSize().y, 2 * m_problem->GetCharHeight()));

    // Tab goes from the box to OK first; on the screen OK stands at the right, as
    // the desktop puts a dialog's default button. Each is laid right to left, as
    // wide as its words need.
    int right = size.x - kMargin;
    m_tabOrder.push_back(m_box);
    for (const auto& [id, caption] : {std::pair<int, wxString>(wxID_OK, _("OK")),
                                      {ID_SKIP, _("Skip")},
                                      {ID_SKIP_ALL, _("Skip All")}}) {
        PictureButton* button = AddButton(id, caption, id == wxID_OK, right);
        right = button->GetPosition().x - kButtonGap;
        m_tabOrder.push_back(button);
    }

    Bind(wxEVT_BUTTON, &SourcePasswordDialog::OnButton, this);
    Bind(
        wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { EndModal(wxID_OK); }, ID_PASSWORD);
    Bind(wxEVT_CHAR_HOOK, &SourcePasswordDialog::OnKey, this);
    CentreOnParent();
    m_box->SetFocus();
}

SourcePasswordDialog::~SourcePasswordDialog() = default;

wxStaticText* SourcePasswordDialog::AddLine(const wxString& text, int y, const wxFont& font,
                                            const wxColour& colour) {
    const int width = GetClientSize().x - 2 * kMargin;
    auto* line =
        new wxStaticText(m_panel, wxID_ANY, text, wxPoint(kMargin, y), wxSize(width, -1),
                         wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE);
    line->SetFont(font);
    line->SetForegroundColour(colour);
    // The font's own height, so a larger desktop font is not cut.
    line->SetSize(width, std::max(line->GetBestSize().y, line->GetCharHeight() + 2));
    return line;
}

PictureButton* SourcePasswordDialog::AddButton(int id, const wxString& caption, bool accent,
                                               int right) {
    // The words in the button's bold face, with room at both ends.
    wxClientDC dc(m_panel);
    dc.SetFont(m_panel->GetFont().Bold());
    const int wide = std::max(kButton.x, dc.GetTextExtent(caption).x + 2 * kButtonPadding);
    const wxPoint at(right - wide, kButtonY);
    PictureButton* button =
        ThemeButton::Create(m_panel, id, accent ? "image/dialog/accent" : "image/dialog/plain", at,
                            GetBackgroundBitmap(), kButton, wide);
    button->SetCaption(caption, accent ? *wxWHITE : kAccentInk, *wxWHITE);
    return button;
}

void SourcePasswordDialog::OnButton(wxCommandEvent& event) {
    switch (event.GetId()) {
    case wxID_OK:
    case ID_SKIP:
    case ID_SKIP_ALL:
        EndModal(event.GetId());
        break;
    default:
        event.Skip(); // the close button, handled by the base dialog
        break;
    }
}

void SourcePasswordDialog::OnKey(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    const wxWindow* focus = FindFocus();
    const bool onSkip = focus && (focus->GetId() == ID_SKIP || focus->GetId() == ID_SKIP_ALL);
    // The toolkit's own Tab does not leave the box in this shaped dialog: the
    // dialog walks its four stops itself, both ways round.
    if (key == WXK_TAB && !event.ControlDown() && !event.AltDown()) {
        const auto at = std::find(m_tabOrder.begin(), m_tabOrder.end(), focus);
        const int count = static_cast<int>(m_tabOrder.size());
        const int from = at == m_tabOrder.end() ? 0 : static_cast<int>(at - m_tabOrder.begin());
        m_tabOrder[(from + (event.ShiftDown() ? count - 1 : 1)) % count]->SetFocus();
        return;
    }
    // Return is OK, except on Skip or Skip All, where it presses that button.
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !event.HasAnyModifiers() && !onSkip)
        EndModal(wxID_OK);
    else
        event.Skip(); // Escape closes through the base dialog: Skip
}

std::string SourcePasswordDialog::TakePassword() {
    wxString typed = m_box->GetValue();
    std::string utf8 = typed.utf8_string();
    Wipe(typed);
    m_box->ChangeValue(wxEmptyString);
    return utf8;
}

PasswordReply SourcePasswordDialog::Ask(wxWindow* parent, const wxString& fileName,
                                        const wxString& problem, std::string& password) {
    SourcePasswordDialog dialog(parent, fileName, problem);
    const int answer = dialog.ShowModal();
    std::string typed = dialog.TakePassword();
    switch (answer) {
    case wxID_OK:
        password.swap(typed);
        return PasswordReply::Ok;
    case ID_SKIP_ALL:
        WipeSecret(typed);
        return PasswordReply::SkipAll;
    default:
        WipeSecret(typed);
        return PasswordReply::Skip;
    }
}
