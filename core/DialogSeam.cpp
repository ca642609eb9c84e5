#include "core/DialogSeam.h"

#include "core/AppUtil.h"

#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/notifmsg.h>
#include <wx/translation.h>
#include <wx/utils.h>

namespace {
PasswordDialogFunction g_passwordDialog = nullptr;

class RealDialogs : public DialogSeam {
public:
    // The buttons are labelled from the program's catalogue: the toolkit's own
    // words follow the system locale, which may not be the language chosen.
    int MessageBox(const wxString& message, const wxString& caption, long style,
                   wxWindow* parent) override {
        // As wxMessageBox: a question mark for a question, else an "i".
        if (!(style & wxICON_MASK))
            style |= (style & wxYES) ? wxICON_QUESTION : wxICON_INFORMATION;
        wxMessageDialog dialog(parent, message, caption, style);
        if (style & wxYES_NO) {
            if (style & wxCANCEL)
                dialog.SetYesNoCancelLabels(_("Yes"), _("No"), _("Cancel"));
            else
                dialog.SetYesNoLabels(_("Yes"), _("No"));
        } else if (style & wxCANCEL) {
            dialog.SetOKCancelLabels(_("OK"), _("Cancel"));
        } else {
            dialog.SetOKLabel(_("OK"));
        }
        // The answers as wxMessageBox gives them.
        switch (dialog.ShowModal()) {
        case wxID_YES:
            return wxYES;
        case wxID_NO:
            return wxNO;
        case wxID_OK:
            return wxOK;
        default:
            return wxCANCEL;
        }
    }

    bool ChooseFiles(wxWindow* parent, const wxString& message, const wxString& defaultDir,
                     const wxString& wildcard, long style, wxArrayString& paths) override {
        wxFileDialog dialog(parent, message, defaultDir, wxString(), wildcard, style);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        dialog.GetPaths(paths);
        return true;
    }

    bool ChooseFolder(wxWindow* parent, const wxString& message, const wxString& defaultPath,
                      wxString& path) override {
        wxDirDialog dialog(parent, message, defaultPath);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        path = dialog.GetPath();
        return true;
    }

    // The toolkit reports a failed launch in a box of its own; the caller says it
    // in the program's box instead.
    bool OpenUrl(const wxString& url) override {
        wxLogNull quiet;
        return !url.empty() && wxLaunchDefaultBrowser(url);
    }
    bool OpenFolder(const wxString& path) override {
        wxLogNull quiet;
        return !path.empty() && wxLaunchDefaultApplication(path);
    }

    void Notify(const wxString& title, const wxString& message) override {
        // A desktop without a notification service is not worth an error box.
        wxLogNull quiet;
        wxNotificationMessage notice(title, message);
        notice.Show();
    }

    PasswordReply AskPassword(wxWindow* parent, const wxString& fileName, const wxString& problem,
                              std::string& password) override {
        return g_passwordDialog ? g_passwordDialog(parent, fileName, problem, password)
                                : PasswordReply::Skip;
    }
};

RealDialogs g_realDialogs;
DialogSeam* g_seam = nullptr;
} // namespace

DialogSeam& DialogSeam::Get() {
    return g_seam ? *g_seam : g_realDialogs;
}

void DialogSeam::Set(DialogSeam* seam) {
    g_seam = seam;
}

void DialogSeam::SetPasswordDialog(PasswordDialogFunction dialog) {
    g_passwordDialog = dialog;
}

int ShowInfoBox(const wxString& message, wxWindow* parent) {
    return DialogSeam::Get().MessageBox(message, AppUtil::GetProductName(),
                                        wxOK | wxICON_INFORMATION, parent);
}

bool AskOkCancel(const wxString& message, wxWindow* parent, bool cancelIsDefault) {
    long style = wxOK | wxCANCEL | wxICON_INFORMATION;
    if (cancelIsDefault)
        style |= wxCANCEL_DEFAULT;
    return DialogSeam::Get().MessageBox(message, AppUtil::GetProductName(), style, parent) !=
           wxCANCEL;
}

bool OpenInBrowser(const wxString& url, wxWindow* parent) {
    if (DialogSeam::Get().OpenUrl(url))
        return true;
    ShowInfoBox(url.empty()
                    ? _("The address of this page is missing from the program's "
                        "option file; please reinstall the program.")
                    : wxString::Format(_("No web browser could be started to open %s."), url),
                parent);
    return false;
}

bool OpenInFileManager(const wxString& folder, wxWindow* parent) {
    if (DialogSeam::Get().OpenFolder(folder))
        return true;
    ShowInfoBox(
        wxString::Format(_("No file manager could be started to open the folder %s."), folder),
        parent);
    return false;
}

void AppUtil::OpenFolder(const wxString& path) {
    OpenInFileManager(path);
}
