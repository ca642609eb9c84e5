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
class RealDialogs : public DialogSeam {
public:
    int MessageBox(const wxString& message, const wxString& caption, long style,
                   wxWindow* parent) override {
        return wxMessageBox(message, caption, style, parent);
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
