#include "ui/SecurityOptionsPane.h"

#include "ui/run/JobEvents.h"
#include "core/DialogSeam.h"
#include "engine/api/EngineService.h"
#include "engine/api/PasswordEncoding.h"
#include "engine/api/WipeSecret.h"
#include "skin/FaceLayout.h"
#include "skin/ImageUtil.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "skin/PictureButton.h"
#include "skin/PictureCaption.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

#include <wx/dcclient.h>
#include <wx/intl.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/translation.h>

namespace {
const int kLeft = 30;
const int kTop = 12;
const int kRowStep = 30;
const int kPermissionStep = 20;
const int kTextBoxWidth = 175;
const int kTextBoxHeight = 22;
// Between a check box's caption and the box it names.
const int kLabelGap = 10;

bool IsAesLevel(int level) {
    return level == PDFMS_LEVEL_AES_128 || level == PDFMS_LEVEL_AES_256;
}

const wxColour kRefusalColour(196, 48, 48);

PasswordEncoding::Problem ProblemOf(int level, const wxString& text) {
    std::string utf8 = text.utf8_string();
    const PasswordEncoding::Problem problem = PasswordEncoding::Check(level, utf8);
    WipeSecret(utf8);
    return problem;
}

// The first character of text that the level refuses on its own, quoted.
wxString FirstRefusedCharacter(int level, const wxString& text) {
    for (const wxUniChar ch : text) {
        const PasswordEncoding::Problem problem = ProblemOf(level, wxString(ch));
        if (problem == PasswordEncoding::Problem::NotPdfDoc ||
            problem == PasswordEncoding::Problem::Prohibited)
            return wxString(wxUniChar(0x201C)) +
                   (ch < 0x20 || ch == 0x7F ? wxUniChar(0xFFFD) : ch) + wxUniChar(0x201D);
    }
    return wxString();
}
} // namespace

wxBEGIN_EVENT_TABLE(SecurityOptionsPane, wxPanel)
    EVT_PAINT(SecurityOptionsPane::OnPaint)
wxEND_EVENT_TABLE()

SecurityOptionsPane::SecurityOptionsPane() = default;
SecurityOptionsPane::~SecurityOptionsPane() = default;

bool SecurityOptionsPane::Create(wxBitmap* background, wxWindow* parent, wxWindowID id,
                                 const wxPoint& pos, const wxSize& size, long style) {
    m_background.reset(background);
    if (!wxPanel::Create(parent, id, pos, size, style))
        return false;
    // Don't erase background, the picture covers all of it.
    SetBackgroundStyle(wxBG_STYLE_PAINT);

    // The hints speak in the window's own font; the theme only sets size and colour.
    m_hintFont = GetFont();
    m_hintColour = *wxBLACK;
    if (const FaceRect* hint =
            g_faceLayout ? g_faceLayout->Find("/face/panewindow/annotatefont") : nullptr) {
        if (hint->value > 0)
            m_hintFont.SetPointSize(hint->value);
        m_hintColour = wxColour(hint->x, hint->y, hint->width);
    }

    BuildControls();

    Bind(wxEVT_SKIN_CHECKBOX_CLICKED, &SecurityOptionsPane::OnUserPasswordBox, this,
         ID_USER_PASSWORD_BOX);
    Bind(wxEVT_SKIN_CHECKBOX_CLICKED, &SecurityOptionsPane::OnOwnerPasswordBox, this,
         ID_OWNER_PASSWORD_BOX);
    Bind(wxEVT_TEXT, &SecurityOptionsPane::OnUserPasswordText, this, ID_USER_PASSWORD_TEXT);
    Bind(wxEVT_TEXT, &SecurityOptionsPane::OnOwnerPasswordText, this, ID_OWNER_PASSWORD_TEXT);
    Bind(wxEVT_SKIN_RADIOBUTTON_SELECTED, &SecurityOptionsPane::OnLevelAes128, this,
         ID_LEVEL_AES_128);
    Bind(wxEVT_SKIN_RADIOBUTTON_SELECTED, &SecurityOptionsPane::OnLevelRc4128, this,
         ID_LEVEL_RC4_128);
    Bind(wxEVT_SKIN_RADIOBUTTON_SELECTED, &SecurityOptionsPane::OnLevelRc440, this,
         ID_LEVEL_RC4_40);
    Bind(wxEVT_SKIN_RADIOBUTTON_SELECTED, &SecurityOptionsPane::OnLevelAes256, this,
         ID_LEVEL_AES_256);
    Bind(wxEVT_TEXT_ENTER, &SecurityOptionsPane::OnPasswordEnter, this, ID_USER_PASSWORD_TEXT);
    Bind(wxEVT_TEXT_ENTER, &SecurityOptionsPane::OnPasswordEnter, this, ID_OWNER_PASSWORD_TEXT);
    Bind(wxEVT_SKIN_CHECKBOX_CLICKED, &SecurityOptionsPane::OnPrinting, this, ID_PERMIT_PRINTING);
    Bind(wxEVT_SKIN_RADIOBUTTON_SELECTED, &SecurityOptionsPane::OnHighResolution, this,
         ID_PRINT_HIGH);
    Bind(wxEVT_SKIN_RADIOBUTTON_SELECTED, &SecurityOptionsPane::OnLowResolution, this,
         ID_PRINT_LOW);
    Bind(wxEVT_SKIN_CHECKBOX_CLICKED, &SecurityOptionsPane::OnPermissionFlag, this, ID_PERMIT_COPY,
         ID_PERMIT_ASSEMBLE);
    Bind(wxEVT_PZ_OPTIONS_LOCK, &SecurityOptionsPane::OnLockPane, this);
    Bind(wxEVT_PZ_OPTIONS_UNLOCK, &SecurityOptionsPane::OnUnlockPane, this);
    return true;
}

void SecurityOptionsPane::AttachToSink(const std::shared_ptr<JobEventSink>& sink) {
    m_sinkAttachment.Attach(sink, JobEventSink::OPTIONS_PANE, this);
}

void SecurityOptionsPane::OnLockPane(wxCommandEvent&) {
    // Every control greys with the pane and keeps showing its tick or choice, so
    // the options the run uses stay readable.
    Disable();
}

void SecurityOptionsPane::OnUnlockPane(wxCommandEvent&) {
    Enable();
}

RunOptions SecurityOptionsPane::GetRunOptions() const {
    RunOptions run;
    run.options = m_options;
    run.userPasswordEnabled = m_userPasswordEnabled;
    run.ownerPasswordEnabled = m_ownerPasswordEnabled;
    return run;
}

SkinCheckBox* SecurityOptionsPane::AddCheckBox(int id, const wxString& caption, int x, int y,
                                               int pieceShift) {
    auto* box = new SkinCheckBox(this, id, caption, wxPoint(x, y), wxDefaultSize, wxBORDER_NONE);
    const wxSize size = box->GetSize();
    if (m_background && m_background->IsOk())
        box->SetBackgroundPiece(
            ImageUtil::GetSubBitmap(*m_background, x + pieceShift, y, size.x, size.y));
    return box;
}

SkinRadioButton* SecurityOptionsPane::AddRadio(int id, const wxString& caption, int x, int y) {
    auto* radio =
        new SkinRadioButton(this, id, caption, wxPoint(x, y), wxDefaultSize, wxBORDER_NONE);
    const wxSize size = radio->GetSize();
    if (m_background && m_background->IsOk())
        radio->SetBackgroundPiece(ImageUtil::GetSubBitmap(*m_background, x, y, size.x, size.y));
    return radio;
}

PictureCaption* SecurityOptionsPane::AddHint(const wxString& text, int x, int y, int width,
                                             int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    wxBitmap piece;
    if (m_background && m_background->IsOk())
        piece = ImageUtil::GetSubBitmap(*m_background, x, y, width, height);
    auto* hint = new PictureCaption(this, wxID_ANY, text, m_hintFont, piece, wxPoint(x, y),
                                    wxSize(width, height), wxBORDER_NONE);
    hint->SetTextColour(m_hintColour);
    return hint;
}

void SecurityOptionsPane::BuildControls() {
    const int width =
        m_background && m_background->IsOk() ? m_background->GetLogicalSize().x : GetSize().x;
    const int half = (width - 60) / 2;
    const int third = (width - 60) / 3;

    // The check boxes' pieces are cut 15 pixels further right, as the face was drawn.
    m_userBox = AddCheckBox(ID_USER_PASSWORD_BOX, _("User Password"), kLeft, kTop, 15);
    m_ownerBox =
        AddCheckBox(ID_OWNER_PASSWORD_BOX, _("Owner Password"), kLeft, kTop + kRowStep, 15);

    const int labelWidth = std::max(m_userBox->GetSize().x, m_ownerBox->GetSize().x) + kLabelGap;
    const int textX = kLeft + labelWidth;
    // Return in a password box starts the run, as pressing Start would.
    m_userText = new wxTextCtrl(this, ID_USER_PASSWORD_TEXT, wxEmptyString, wxPoint(textX, kTop),
                                wxSize(kTextBoxWidth, kTextBoxHeight), wxTE_PROCESS_ENTER);
    m_ownerText =
        new wxTextCtrl(this, ID_OWNER_PASSWORD_TEXT, wxEmptyString, wxPoint(textX, kTop + kRowStep),
                       wxSize(kTextBoxWidth, kTextBoxHeight), wxTE_PROCESS_ENTER);
    for (wxTextCtrl* box : {m_userText, m_ownerText})
        box->SetToolTip(_("Latin letters, digits and punctuation, up to 32 characters; with 256 "
                          "bits AES any characters, up to 127 bytes."));
    // Reading order for the keyboard: each box right after the check box naming it.
    m_userText->MoveAfterInTabOrder(m_userBox);

    const int hintX = textX + m_userText->GetSize().x;
    const int hintHeight = m_userText->GetSize().y;
    m_userHintText = _("(Password to open PDF file)");
    m_ownerHintText = _("(Password to change permission settings)");
    m_userHint = AddHint(m_userHintText, hintX, kTop, width - hintX, hintHeight);
    m_ownerHint = AddHint(m_ownerHintText, hintX, kTop + kRowStep, width - hintX, hintHeight);

    const int levelY = kTop + 3 * kRowStep;
    m_aes128 = AddRadio(ID_LEVEL_AES_128, _("128 bits AES"), kLeft, levelY);
    const int radioHeight = m_aes128->GetSize().y;
    int after = kLeft + m_aes128->GetSize().x;
    AddHint(_("(Acrobat 7.X or above)"), after, levelY, half - after, radioHeight);
    m_rc4128 = AddRadio(ID_LEVEL_RC4_128, _("128 bits RC4"), half, levelY);
    after = half + m_rc4128->GetSize().x;
    AddHint(_("(Acrobat 5.X or above)"), after, levelY, width - after, radioHeight);
    m_rc440 = AddRadio(ID_LEVEL_RC4_40, _("40 bits RC4"), kLeft, levelY + kRowStep);
    after = kLeft + m_rc440->GetSize().x;
    AddHint(_("(Acrobat 4.X,5.X)"), after, levelY + kRowStep, half - after, radioHeight);
    m_aes256 = AddRadio(ID_LEVEL_AES_256, _("256 bits AES"), half, levelY + kRowStep);
    after = half + m_aes256->GetSize().x;
    AddHint(_("(Acrobat X or above)"), after, levelY + kRowStep, width - after, radioHeight);
    // In reading order, which is also the order the arrow keys follow.
    m_levelGroup.Add({m_aes128, m_rc4128, m_rc440, m_aes256});
    m_rc4128->SetValue(true);
    m_levelGroup.InitFromButtons();

    const int printY = levelY + 3 * kRowStep;
    m_printing = AddCheckBox(ID_PERMIT_PRINTING, _("Permit Document Printing"), kLeft, printY);
    m_high = AddRadio(ID_PRINT_HIGH, _("High Resolution"), third, printY);
    m_low = AddRadio(ID_PRINT_LOW, _("Low Resolution"), 2 * third, printY);
    m_resolutionGroup.Add(m_high);
    m_resolutionGroup.Add(m_low);
    m_high->SetValue(true);
    m_resolutionGroup.InitFromButtons();

    int y = printY + kPermissionStep;
    m_copy = AddCheckBox(ID_PERMIT_COPY, _("Permit Content Copying"), kLeft, y);
    m_accessibility = AddCheckBox(ID_PERMIT_ACCESSIBILITY,
                                  _("Permit Content Copying for Accessibility"), half, y);
    y += kPermissionStep;
    m_modify = AddCheckBox(ID_PERMIT_MODIFY, _("Permit Content Modifying"), kLeft, y);
    m_fillForms = AddCheckBox(ID_PERMIT_FILL_FORMS, _("Permit Form Filling"), half, y);
    y += kPermissionStep;
    m_annotate = AddCheckBox(ID_PERMIT_ANNOTATE, _("Permit Annotation Adding"), kLeft, y);
    m_assemble = AddCheckBox(ID_PERMIT_ASSEMBLE, _("Permit Assemble Document"), half, y);

    m_userText->Disable();
    m_ownerText->Disable();
    EnablePermissionControls(false);
    ShowAccessibilityForLevel();
}

void SecurityOptionsPane::EnablePermissionControls(bool enable) {
    for (SkinCheckBox* box :
         {m_printing, m_copy, m_modify, m_annotate, m_fillForms, m_accessibility, m_assemble})
        box->SetEnabled(enable);
    const bool resolution = enable && m_printing->IsChecked();
    m_high->SetEnabled(resolution);
    m_low->SetEnabled(resolution);
    ShowAccessibilityForLevel();
}

void SecurityOptionsPane::ShowAccessibilityForLevel() {
    if (IsAesLevel(m_options.EncryptionLevel)) {
        m_accessibility->SetChecked(true);
        m_accessibility->SetEnabled(false);
        m_accessibility->SetToolTip(
            _("Files encrypted with AES always allow copying for accessibility: readers follow "
              "the PDF 2.0 rule that this permission cannot be withheld."));
        m_options.accessibilityCopy = true;
    } else {
        m_accessibility->SetChecked(m_accessibilityChoice);
        m_accessibility->SetEnabled(m_ownerPasswordEnabled);
        m_accessibility->UnsetToolTip();
        m_options.accessibilityCopy = m_accessibilityChoice;
    }
}

wxString SecurityOptionsPane::PasswordRefusal(const wxString& text) const {
    const int level = m_options.EncryptionLevel;
    const bool aes256 = level == PDFMS_LEVEL_AES_256;
    switch (ProblemOf(level, text)) {
    case PasswordEncoding::Problem::None:
    case PasswordEncoding::Problem::MixedDirections:
        return wxString();
    case PasswordEncoding::Problem::NotText:
    case PasswordEncoding::Problem::NotPdfDoc:
        return wxString::Format(_("%s cannot be used at this level; 256 bits AES takes any "
                                  "character"),
                                FirstRefusedCharacter(level, text));
    case PasswordEncoding::Problem::Prohibited:
        return wxString::Format(_("%s cannot be used: no control characters or direction "
                                  "marks"),
                                FirstRefusedCharacter(level, text));
    case PasswordEncoding::Problem::TooLong:
        return aes256 ? _("At most 127 bytes with 256 bits AES")
                      : _("At most 32 characters at this level; 256 bits AES takes more");
    }
    return wxString();
}

wxString SecurityOptionsPane::GetPasswordHint(int boxId) const {
    const PictureCaption* hint = boxId == ID_USER_PASSWORD_TEXT ? m_userHint : m_ownerHint;
    return hint ? hint->GetText() : wxString();
}

void SecurityOptionsPane::ShowPasswordHint(wxTextCtrl* box, const wxString& refusal) {
    PictureCaption* hint = box == m_userText ? m_userHint : m_ownerHint;
    if (!hint)
        return;
    const wxString& usual = box == m_userText ? m_userHintText : m_ownerHintText;
    const wxString text = refusal.empty() ? usual : refusal;
    if (hint->GetText() == text)
        return;
    hint->SetTextColour(refusal.empty() ? m_hintColour : kRefusalColour);
    hint->SetText(text);
}

void SecurityOptionsPane::ClearPasswordsTheLevelRefuses() {
    // A refusal shown for the old level says nothing about the new one.
    ShowPasswordHint(m_userText, wxString());
    ShowPasswordHint(m_ownerText, wxString());
    const bool user = !AcceptsPassword(m_options.userPassword);
    const bool owner = !AcceptsPassword(m_options.ownerPassword);
    if (user) {
        m_options.userPassword.clear();
        m_userText->ChangeValue(wxEmptyString);
    }
    if (owner) {
        m_options.ownerPassword.clear();
        m_ownerText->ChangeValue(wxEmptyString);
    }
    if (!user && !owner)
        return;
    // One sentence per case: the words around "passwords" change with the number.
    ShowInfoBox(user && owner ? _("Only 256 bits AES accepts characters beyond Latin letters, "
                                  "digits and punctuation, or more than 32 of them. The user and "
                                  "owner passwords were cleared; please type them again.")
                : user ? _("Only 256 bits AES accepts characters beyond Latin letters, digits "
                           "and punctuation, or more than 32 of them. The user password was "
                           "cleared; please type it again.")
                       : _("Only 256 bits AES accepts characters beyond Latin letters, digits "
                           "and punctuation, or more than 32 of them. The owner password was "
                           "cleared; please type it again."),
                this);
}

void SecurityOptionsPane::ShowExtendedControls(bool show) {
    m_high->Show(show);
    m_low->Show(show);
    m_fillForms->Show(show);
    m_accessibility->Show(show);
    m_assemble->Show(show);
}

void SecurityOptionsPane::SendClearStatuses() {
    WindowLookup::QueueCommand(this, ID_FILE_LIST, CMD_CLEAR_STATUSES);
}

void SecurityOptionsPane::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_background && m_background->IsOk())
        dc.DrawBitmap(*m_background, 0, 0, true);
}

void SecurityOptionsPane::OnUserPasswordBox(wxCommandEvent&) {
    if (m_userBox->IsChecked()) {
        m_userPasswordEnabled = true;
        m_userText->Enable();
        // Ticking the box means the user is about to type the password.
        m_userText->SetFocus();
    } else {
        m_userText->ChangeValue(wxEmptyString);
        m_options.userPassword.clear();
        m_userPasswordEnabled = false;
        m_userText->Disable();
    }
    SendClearStatuses();
}

void SecurityOptionsPane::OnOwnerPasswordBox(wxCommandEvent&) {
    if (m_ownerBox->IsChecked()) {
        m_ownerPasswordEnabled = true;
        m_ownerText->Enable();
        m_ownerText->SetFocus();
        EnablePermissionControls(true);
    } else {
        m_ownerText->ChangeValue(wxEmptyString);
        m_options.ownerPassword.clear();
        m_ownerPasswordEnabled = false;
        m_ownerText->Disable();
        EnablePermissionControls(false);
    }
    SendClearStatuses();
}

void SecurityOptionsPane::OnPasswordText(wxTextCtrl* box, wxString& stored) {
    const wxString text = box->GetValue();
    const wxString refusal = PasswordRefusal(text);
    // Never a silent drop: a refused key or paste says why beside the box.
    ShowPasswordHint(box, refusal);
    if (refusal.empty()) {
        stored = text;
        // GTK selects the whole entry when it gains the focus, and the next key
        // would replace it: only take the focus when the box does not have it.
        if (wxWindow::FindFocus() != box) {
            box->SetFocus();
            box->SetInsertionPointEnd();
        }
    } else {
        // ChangeValue sends no text event, so restoring does not come back here.
        const long insertion = box->GetInsertionPoint();
        box->ChangeValue(stored);
        box->SetInsertionPoint(
            std::min<long>(insertion > 0 ? insertion - 1 : 0, static_cast<long>(stored.length())));
    }
    SendClearStatuses();
}

void SecurityOptionsPane::OnUserPasswordText(wxCommandEvent&) {
    OnPasswordText(m_userText, m_options.userPassword);
}

void SecurityOptionsPane::OnOwnerPasswordText(wxCommandEvent&) {
    OnPasswordText(m_ownerText, m_options.ownerPassword);
}

void SecurityOptionsPane::SetPrintingFromResolution() {
    if (m_high->GetEnabled() && m_high->GetValue())
        m_options.PrintPermission = PDFMS_PRINT_HIGH;
    else if (m_low->GetEnabled() && m_low->GetValue())
        m_options.PrintPermission = PDFMS_PRINT_LOW;
}

void SecurityOptionsPane::OnLevelSelected(SkinRadioButton* radio, int level) {
    if (radio->GetValue()) {
        m_options.EncryptionLevel = level;
        SetPrintingFromResolution();
        ShowExtendedControls(true);
        ShowAccessibilityForLevel();
        ClearPasswordsTheLevelRefuses();
    } else {
        ShowExtendedControls(false);
    }
    SendClearStatuses();
}

void SecurityOptionsPane::OnLevelAes128(wxCommandEvent&) {
    OnLevelSelected(m_aes128, PDFMS_LEVEL_AES_128);
}

void SecurityOptionsPane::OnLevelRc4128(wxCommandEvent&) {
    OnLevelSelected(m_rc4128, PDFMS_LEVEL_RC4_128);
}

void SecurityOptionsPane::OnLevelRc440(wxCommandEvent&) {
    if (m_rc440->GetValue()) {
        m_options.EncryptionLevel = PDFMS_LEVEL_RC4_40;
        if (m_printing->GetEnabled() && m_printing->IsChecked())
            m_options.PrintPermission = PDFMS_PRINT_ALLOWED;
        ShowExtendedControls(false);
        ShowAccessibilityForLevel();
        ClearPasswordsTheLevelRefuses();
    } else {
        ShowExtendedControls(true);
    }
    SendClearStatuses();
}

void SecurityOptionsPane::OnLevelAes256(wxCommandEvent&) {
    OnLevelSelected(m_aes256, PDFMS_LEVEL_AES_256);
}

void SecurityOptionsPane::OnPasswordEnter(wxCommandEvent&) {
    // Only while Start is on show: during a run Return does nothing.
    auto* start =
        wxDynamicCast(WindowLookup::FindInTopWindow(this, ID_START_BUTTON), PictureButton);
    if (start && start->IsShown())
        start->Press();
}

void SecurityOptionsPane::OnPrinting(wxCommandEvent&) {
    if (!m_printing->GetEnabled())
        return;
    if (m_printing->IsChecked()) {
        m_high->SetEnabled(true);
        m_low->SetEnabled(true);
        if (m_rc440->GetValue())
            m_options.PrintPermission = PDFMS_PRINT_ALLOWED;
        else if (m_high->GetValue())
            m_options.PrintPermission = PDFMS_PRINT_HIGH;
        else if (m_low->GetValue())
            m_options.PrintPermission = PDFMS_PRINT_LOW;
    } else {
        m_high->SetEnabled(false);
        m_low->SetEnabled(false);
        m_options.PrintPermission = PDFMS_PRINT_NONE;
    }
    SendClearStatuses();
}

void SecurityOptionsPane::OnHighResolution(wxCommandEvent&) {
    m_options.PrintPermission = m_high->GetValue() ? PDFMS_PRINT_HIGH : PDFMS_PRINT_LOW;
    SendClearStatuses();
}

void SecurityOptionsPane::OnLowResolution(wxCommandEvent&) {
    m_options.PrintPermission = m_low->GetValue() ? PDFMS_PRINT_LOW : PDFMS_PRINT_HIGH;
    SendClearStatuses();
}

void SecurityOptionsPane::OnPermissionFlag(wxCommandEvent& event) {
    auto* box = wxDynamicCast(event.GetEventObject(), SkinCheckBox);
    if (!box)
        box = static_cast<SkinCheckBox*>(FindWindow(event.GetId()));
    if (!box)
        return;
    const bool on = box->IsChecked();
    switch (event.GetId()) {
    case ID_PERMIT_COPY:
        m_options.copy = on;
        break;
    case ID_PERMIT_MODIFY:
        m_options.modify = on;
        break;
    case ID_PERMIT_ANNOTATE:
        m_options.annotate = on;
        break;
    case ID_PERMIT_FILL_FORMS:
        m_options.fillForms = on;
        break;
    case ID_PERMIT_ACCESSIBILITY:
        m_accessibilityChoice = on;
        m_options.accessibilityCopy = on;
        break;
    case ID_PERMIT_ASSEMBLE:
        m_options.assemble = on;
        break;
    default:
        return;
    }
    SendClearStatuses();
}
