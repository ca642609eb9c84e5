#include "batch/FileTypes.h"

#include "batch/JobHooks.h"
#include "core/FileUtil.h"

#include <wx/regex.h>

wxString GetFileDialogWildcard() {
    static const wxString wildcard = "PDF files(*.pdf)|*.pdf;";
    return wildcard;
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

bool HasSupportedExtension(const wxString& ext) {
    return g_extensionTestHook && g_extensionTestHook(ext);
}

wxString GetFileTypeDescription() {
    if (!g_wildcardHook)
        return wxString();
    return g_wildcardHook().BeforeFirst('|');
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

bool IsValidFileName(const wxString& name) {
    wxString text = name;
    text.Trim(true);
    if (text.empty())
        return false;
    text.Replace(" ", "");
    static const wxRegEx forbidden("[\\\\|/:\\*\\?<>\"]", wxRE_EXTENDED);
    return !forbidden.Matches(text);
}
