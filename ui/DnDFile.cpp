#include "ui/DnDFile.h"

#include "batch/FileTypes.h"
#include "core/DialogSeam.h"
#include "core/FileUtil.h"
#include "core/StringUtil.h"
#include "ui/SelectWindowPDFENCRYPTION.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

DnDFile::DnDFile(wxWindow* owner, wxGrid* grid) : m_owner(owner), m_grid(grid) {}

bool DnDFile::OnDropFiles(wxCoord, wxCoord, const wxArrayString& filenames) {
    return DropOnTopWindow(m_owner, filenames);
}

bool DnDFile::DropOnTopWindow(wxWindow* window, const wxArrayString& dropped) {
    auto* list = wxDynamicCast(WindowLookup::FindInTopWindow(window, ID_FILE_LIST),
                               SelectWindowPDFENCRYPTION);
    if (!list)
        return false;
    return DropOnList(list, dropped);
}

int DnDFile::CollectDroppedPaths(const wxArrayString& dropped, wxArrayString& paths) {
    int count = 0;
    const wxArrayString patterns = GetScanPatterns();
    for (const wxString& item : dropped) {
        if (FileUtil::DirExists(item)) {
            const wxString folder = StringUtil::ToSlashes(item);
            for (const wxString& pattern : patterns) {
                wxArrayString found;
                FileUtil::ListFilesByExtension(folder, found, pattern);
                for (const wxString& path : found)
                    paths.Add(StringUtil::ToSlashes(path));
                count += static_cast<int>(found.size());
            }
            continue;
        }
        const wxString path = StringUtil::ToSlashes(item);
        const wxString extension = path.Contains(".") ? path.AfterLast('.').Lower() : wxString();
        ++count;
        if (IsSupportedExtension(extension))
            paths.Add(path);
        else
            ShowInfoBox("Fail to open file  \n " + path);
    }
    return count;
}

bool DnDFile::DropOnList(SelectWindowPDFENCRYPTION* list, const wxArrayString& dropped) {
    wxArrayString paths;
    if (CollectDroppedPaths(dropped, paths) != 0) {
        list->AddFileList(paths);
        return true;
    }
    ShowInfoBox("No " + GetFileTypeDescription() + " Files Added !", list);
    return false;
}
