#include "update/UpdateResultView.h"

#include "core/AppUtil.h"
#include "core/DialogSeam.h"
#include "update/DomainOption.h"
#include "update/VersionKey.h"

#include <wx/defs.h>
#include <wx/string.h>
#include <wx/translation.h>

void ShowUpdateResult(wxWindow* mainWindow, const wxString& version) {
    const wxString product = AppUtil::GetProductName();
    DialogSeam& dialogs = DialogSeam::Get();
    if (version.empty()) {
        dialogs.MessageBox(_("Update failed!Please check if the network is available."), product,
                           wxOK | wxCENTRE, nullptr);
        return;
    }
    if (CompareVersions(AppUtil::GetVersion(), version) < 0) {
        // TRANSLATORS: %1$s is the product's name, %2$s the new version.
        const wxString question = wxString::Format(
            _("A new version of %1$s(%2$s) is available. Click Yes to open download page."),
            product, version);
        if (dialogs.MessageBox(question, product, wxYES_NO | wxCENTRE, mainWindow) == wxYES)
            OpenInBrowser(g_option ? g_option->GetDownloadUrl() : wxString(), mainWindow);
        return;
    }
    // Our own version, not the published one: the user knows which one he runs.
    // TRANSLATORS: %1$s is the product's name, %2$s its version.
    dialogs.MessageBox(wxString::Format(_("This version of %1$s(%2$s) is the latest version."),
                                        product, AppUtil::GetVersion()),
                       product, wxOK | wxCENTRE, nullptr);
}
