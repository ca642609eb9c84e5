#include "ui/FileDropTarget.h"

#include "batch/FileTypes.h"
#include "core/DialogSeam.h"
#include "core/FileUtil.h"
#include "ui/FileListPanel.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

#include <wx/translation.h>

FileDropTarget::FileDropTarget(wxWindow* owner, wxGrid* grid) : m_owner(owner), m_grid(grid) {}

bool FileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& filenames) {
    return DropOnTopWindow(m_owner, filenames);
}

bool FileDropTarget::DropOnTopWindow(wxWindow* window, const wxArrayString& dropped) {
    auto* list = wxDynamicCast(WindowLookup::FindInTopWindow(window, ID_FILE_LIST), FileListPanel);
    if (!list)
        return false;
    return DropOnList(list, dropped);
}

int FileDropTarget::CollectDroppedPaths(const wxArrayString& dropped, wxArrayString& paths) {
    int count = 0;
    const wxArrayString patterns = GetScanPatterns();
    for (const wxString& item : dropped) {
        if (FileUtil::DirExists(item)) {
            count += ScanFolderForFiles(patterns, item, paths);
            continue;
        }
        const wxString& path = item;
        const wxString extension = path.Contains(".") ? path.AfterLast('.').Lower() : wxString();
        ++count;
        if (IsSupportedExtension(extension))
            paths.Add(path);
        else
            ShowInfoBox(_("Fail to open file  \n ") + path);
    }
    return count;
}

bool FileDropTarget::DropOnList(FileListPanel* list, const wxArrayString& dropped) {
    wxArrayString paths;
    if (CollectDroppedPaths(dropped, paths) != 0) {
        list->AddFileList(paths);
        return true;
    }
    // TRANSLATORS: %s is the file type, "PDF".
    ShowInfoBox(wxString::Format(_("No %s Files Added !"), GetFileTypeDescription()), list);
    return false;
}
