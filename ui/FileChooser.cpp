#include "ui/FileChooser.h"

#include "batch/FileTypes.h"
#include "core/DialogSeam.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/translation.h>

wxArrayString ChooseFiles(const wxString& defaultDir) {
    // Without a GUI application (tests, command line) the dialog has no parent.
    wxApp* app = dynamic_cast<wxApp*>(wxAppConsole::GetInstance());
    wxWindow* parent = app ? app->GetTopWindow() : nullptr;
    const wxString wildcard = GetFileDialogWildcard();
    wxArrayString paths;
    if (!DialogSeam::Get().ChooseFiles(parent, _("Select One or More Files"), defaultDir, wildcard,
                                       wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE, paths))
        return wxArrayString();

    wxArrayString result;
    for (const wxString& path : paths) {
        const int dot = path.Find('.', true);
        const wxString ext = dot == wxNOT_FOUND ? wxString() : path.Mid(dot + 1).Lower();
        if (!IsSupportedExtension(ext)) {
            ShowInfoBox(_(" Fail to open file  \n ") + path);
            continue;
        }
        result.Add(path);
    }
    return result;
}
