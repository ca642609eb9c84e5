#include "app/CommandLineFiles.h"

#include "ui/FileDropTarget.h"

#include <wx/filename.h>
#include <wx/toplevel.h>

wxArrayString CommandLineFiles::FromArguments(const wxArrayString& arguments) {
    wxArrayString paths;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i].empty())
            continue;
        wxFileName name(arguments[i]);
        name.MakeAbsolute();
        paths.Add(name.GetFullPath());
    }
    return paths;
}

void CommandLineFiles::OpenInWindow(wxTopLevelWindow* window, const wxArrayString& paths) {
    if (!window || window->IsBeingDeleted())
        return;
    if (window->IsIconized())
        window->Iconize(false);
    window->Raise();
    if (!paths.empty())
        FileDropTarget::DropOnTopWindow(window, paths);
}
