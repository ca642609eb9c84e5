#include "batch/FileTypes.h"

#include "core/FileUtil.h"

#include <wx/translation.h>

wxString GetFileDialogWildcard() {
    // Made on each call: the language may be chosen after the first one.
    return _("PDF files(*.pdf)") + "|*.pdf;";
}

wxArrayString GetScanPatterns() {
    wxArrayString patterns;
    patterns.Add("*.pdf");
    return patterns;
}

wxString GetWrittenExtension() {
    return ".pdf";
}

bool IsSupportedExtension(const wxString& ext) {
    static const wxString supported = ";pdf;";
    return supported.Find(";" + ext + ";") != wxNOT_FOUND;
}

wxString GetFileTypeDescription() {
    return GetFileDialogWildcard().BeforeFirst('|');
}

int ScanFolderForFiles(const wxArrayString& patterns, const wxString& folder,
                       wxArrayString& paths) {
    int count = 0;
    for (const wxString& pattern : patterns) {
        wxArrayString found;
        FileUtil::ListFilesByExtension(folder, found, pattern);
        count += static_cast<int>(found.size());
        for (const wxString& path : found)
            paths.Add(path);
    }
    return count;
}
