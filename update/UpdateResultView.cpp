#include "update/UpdateResultView.h"

#include "core/AppUtil.h"
#include "core/DialogSeam.h"
#include "update/DomainOption.h"
#include "update/VersionKey.h"

#include <wx/defs.h>
#include <wx/string.h>

void ShowUpdateResult(wxWindow* mainWindow, const wxString& version) {
    const wxString product = AppUtil::GetProductName();
    DialogSeam& dialogs = DialogSeam::Get();
    if (version.empty()) {
        dialogs.MessageBox("Update failed!Please check if the network is available.", product,
                           wxOK | wxCENTRE, nullptr);
        return;
    }
    if (CompareVersions(AppUtil::GetVersion(), version) < 0) {
        const wxString question = "A new version of " + product + "(" + version +
                                  ") is available. Click Yes to open download page.";
        if (dialogs.MessageBox(question, product, wxYES_NO | wxCENTRE, mainWindow) == wxYES)
            OpenInBrowser(g_option ? g_option->GetDownloadUrl() : wxString(), mainWindow);
        return;
    }
    // Our own version, not the published one: the user knows which one he runs.
    dialogs.MessageBox("This version of " + product + "(" + AppUtil::GetVersion() +
                           ") is the latest version.",
                       product, wxOK | wxCENTRE, nullptr);
}
