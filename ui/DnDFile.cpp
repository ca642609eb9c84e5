#include "ui/DnDFile.h"

#include "batch/FileTypes.h"
#include "batch/JobHooks.h"
#include "core/DialogSeam.h"
#include "core/FileUtil.h"
#include "ui/SelectWindow.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

DnDFile::DnDFile(wxWindow* owner, wxGrid* grid) : m_owner(owner), m_grid(grid) {}

bool DnDFile::OnDropFiles(wxCoord, wxCoord, const wxArrayString& filenames) {
    return DropOnTopWindow(m_owner, filenames);
}

bool DnDFile::DropOnTopWindow(wxWindow* window, const wxArrayString& dropped) {
    auto* list = wxDynamicCast(WindowLookup::FindInTopWindow(window, ID_FILE_LIST), SelectWindow);
    if (!list)
        return false;
    return DropOnList(list, dropped);
}

int DnDFile::CollectDroppedPaths(const wxArrayString& dropped, wxArrayString& paths) {
    int count = 0;
    const wxArrayString patterns = g_patternHook ? g_patternHook() : wxArrayString();
    for (const wxString& item : dropped) {
        if (FileUtil::DirExists(item)) {
            count += ScanFolderForFiles(patterns, item, paths);
            continue;
        }
        const wxString& path = item;
        const wxString extension = path.Contains(".") ? path.AfterLast('.').Lower() : wxString();
        ++count;
        if (HasSupportedExtension(extension))
            paths.Add(path);
        else
            ShowInfoBox("Fail to open file  \n " + path);
    }
    return count;
}

bool DnDFile::DropOnList(SelectWindow* list, const wxArrayString& dropped) {
    wxArrayString paths;
    if (CollectDroppedPaths(dropped, paths) != 0) {
        list->AddFileList(paths);
        return true;
    }
    ShowInfoBox("No " + GetFileTypeDescription() + " Files Added !", list);
    return false;
}
