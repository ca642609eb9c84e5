#include "batch/FileTypes.h"

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

wxString GetFileTypeDescription() {
    return GetFileDialogWildcard().BeforeFirst('|');
}

void AppendToPathList(wxString& pathList, const wxString& path) {
    pathList += path;
    pathList += "|";
}

wxArrayString SplitPathList(const wxString& pathList) {
    wxArrayString paths;
    size_t start = 0;
    while (start < pathList.length()) {
        size_t bar = pathList.find('|', start);
        if (bar == wxString::npos)
            bar = pathList.length();
        if (bar > start)
            paths.Add(pathList.substr(start, bar - start));
        start = bar + 1;
    }
    return paths;
}
