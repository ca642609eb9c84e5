#include "ui/OutputFolderPanel.h"

#include "ui/run/JobEvents.h"
#include "core/DialogSeam.h"
#include "core/DomainConfig.h"
#include "core/FileUtil.h"
#include "core/AppUtil.h"
#include "skin/ThemeButton.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "skin/PictureCaption.h"
#include "ui/WindowIds.h"

#include <wx/dcclient.h>
#include <wx/textctrl.h>
#include <wx/translation.h>

#include <algorithm>

wxIMPLEMENT_DYNAMIC_CLASS(OutputFolderPanel, SkinPanel);

namespace {
const int kLeft = 16;
const int kRowY = 26;
const int kFolderBoxWidth = 240;
const int kFolderBoxHeight = 22;
const int kButtonGap = 8;
const wxSize kFallbackButton(80, 24);

// The logical width of a button picture of the strip; the fallback when missing.
int ButtonWidth(const wxString& image) {
    const wxBitmap normal = ImageUtil::GetBitmap("image/output/" + image + "-normal.png");
    return normal.IsOk() ? normal.GetLogicalSize().x : kFallbackButton.x;
}
} // namespace

OutputFolderPanel::OutputFolderPanel() = default;

bool OutputFolderPanel::Create(wxBitmap* background, wxWindow* parent, wxWindowID id,
                               const wxPoint& pos, const wxSize& size) {
    if (!SkinPanel::Create(parent, background, id, pos, size, wxBORDER_NONE | wxTAB_TRAVERSAL,
                           "OutputFolderPanel"))
        return false;

    // The window's own font at the panel's size: a face asked for by name may be
    // missing, and a stand-in would shift the caption.
    wxFont font = GetFont();
    font.SetPointSize(m_fontSize);
    if (m_bold)
        font.MakeBold();

    const wxString caption = _("Output Folder:");
    wxCoord textWidth = 0, textHeight = 0;
    GetTextExtent(caption, &textWidth, &textHeight, nullptr, nullptr, &font);
    // Centre the caption on the folder box so both read as one line.
    const int labelY = kRowY + (kFolderBoxHeight - textHeight) / 2;
    wxBitmap piece;
    if (background && background->IsOk())
        piece = ImageUtil::GetSubBitmap(*background, kLeft, labelY, textWidth, textHeight);
    // The caption is exactly as large as its text: no inset.
    m_label =
        new PictureCaption(this, ID_OUTPUT_FOLDER_BOX, caption, font, piece, wxPoint(kLeft, labelY),
                           wxSize(textWidth, textHeight), wxBORDER_NONE);
    m_label->SetTextInset(0);

    const int boxX = kLeft + textWidth + m_labelGap;
    // The folder box gives way where the caption's font is wide, so that Open ends
    // as far inside the strip's card as the caption starts.
    const int browseWidth = ButtonWidth("browse");
    const int openWidth = ButtonWidth("open");
    const int rightEdge = GetClientSize().x - kLeft;
    const int boxWidth =
        std::min(kFolderBoxWidth, rightEdge - boxX - 2 * kButtonGap - browseWidth - openWidth);
    const wxString folder = g_config ? g_config->GetLastOutputDir() : wxString();
    m_folderBox = new wxTextCtrl(this, ID_OUTPUT_FOLDER_BOX, folder, wxPoint(boxX, kRowY),
                                 wxSize(boxWidth, kFolderBoxHeight), wxTE_READONLY);
    m_folderBox->SetBackgroundColour(*wxWHITE);
    m_folderBox->SetToolTip(folder);
    // Once the box has its size, show the end of the path: the folder's own name.
    CallAfter([this] { ShowFolderEnd(); });

    const int browseX = boxX + boxWidth + kButtonGap;
    m_browse = AddButton(ID_OUTPUT_BROWSE, "browse", browseX, kRowY + m_buttonOffset);
    m_open = AddButton(ID_OUTPUT_OPEN, "open", browseX + browseWidth + kButtonGap,
                       kRowY + m_buttonOffset);

    Bind(wxEVT_BUTTON, &OutputFolderPanel::OnOpen, this, ID_OUTPUT_OPEN);
    Bind(wxEVT_BUTTON, &OutputFolderPanel::OnBrowse, this, ID_OUTPUT_BROWSE);
    Bind(wxEVT_PZ_OUTPUT_LOCKED, &OutputFolderPanel::OnJobStarted, this);
    Bind(wxEVT_PZ_OUTPUT_UNLOCKED, &OutputFolderPanel::OnJobEnded, this);
    return true;
}

PictureButton* OutputFolderPanel::AddButton(int id, const wxString& image, int x, int y) {
    PictureButton* button = ThemeButton::Create(this, id, "image/output/" + image, wxPoint(x, y),
                                                GetBitmap(), kFallbackButton);
    button->SetDisabledBitmap(m_disabledLooks.Make(button->GetNormalBitmap()));
    return button;
}

void OutputFolderPanel::AttachToSink(const std::shared_ptr<JobEventSink>& sink) {
    m_sinkAttachment.Attach(sink, JobEventSink::OUTPUT_PANEL, this);
}

wxString OutputFolderPanel::GetOutputDir() const {
    return m_folderBox ? m_folderBox->GetValue() : wxString();
}

void OutputFolderPanel::OnOpen(wxCommandEvent&) {
    const wxString folder = GetOutputDir();
    if (!folder.empty() && FileUtil::DirExists(folder))
        AppUtil::OpenFolder(folder);
    else
        ShowInfoBox(_("Output directory doesn't exist."));
}

void OutputFolderPanel::OnBrowse(wxCommandEvent&) {
    wxString chosen;
    if (!DialogSeam::Get().ChooseFolder(this, _("Select a output folder"), GetOutputDir(), chosen))
        return;
    if (!FileUtil::DirExists(chosen) || !FileUtil::IsWritableDir(chosen)) {
        ShowInfoBox(_("The folder is unwritable, please choose another one!"));
        return;
    }
    m_folderBox->ChangeValue(chosen);
    m_folderBox->SetToolTip(chosen);
    ShowFolderEnd();
    if (g_config)
        g_config->SetLastOutputDir(chosen);
}

void OutputFolderPanel::ShowFolderEnd() {
    m_folderBox->SetInsertionPointEnd();
    m_folderBox->ShowPosition(m_folderBox->GetLastPosition());
}

void OutputFolderPanel::OnJobStarted(wxCommandEvent&) {
    m_browse->Enable(false);
}

void OutputFolderPanel::OnJobEnded(wxCommandEvent&) {
    m_browse->Enable(true);
}
