#include "update/WebCommands.h"

#include "core/AppUtil.h"
#include "core/DialogSeam.h"
#include "core/FileUtil.h"
#include "core/StringUtil.h"
#include "skin/ImageUtil.h"
#include "update/AboutDialog.h"
#include "update/DomainOption.h"
#include "update/UpdateResultRelay.h"

#include <wx/translation.h>

void OpenHelpPage() {
    OpenInBrowser(g_option ? g_option->GetHelpUrl() : wxString());
}

void OpenSupportPage() {
    OpenInBrowser(g_option ? g_option->GetSupportUrl() : wxString());
}

void OpenLogDirectory() {
    // Asking for the day file creates the work and log folders when missing.
    const wxString path = FileUtil::GetLogFilePath();
    AppUtil::OpenFolder(StringUtil::BeforeLast(path, '/'));
}

void CheckForUpdate() {
    if (g_option)
        g_option->StartUpdateCheck();
    else
        UpdateResultRelay::Deliver(wxString()); // no addresses at all: a failed check
}

int ShowAboutDialog() {
    wxBitmap* background = ImageUtil::CreateBitmap("image/base/background.png");
    if (!background) {
        // A damaged theme: still tell the user what he runs.
        ShowInfoBox(AboutDialog::MakeVersionText() + "\n" + AboutDialog::MakeCopyrightText());
        return -1;
    }
    auto* dialog = new AboutDialog(background, nullptr, 301, _("About"));
    // Over the program's window, where the user is looking.
    dialog->CentreOnParent();
    const int result = dialog->ShowModal();
    dialog->Destroy();
    return result;
}
