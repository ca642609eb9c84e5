#pragma once
// What the program accepts as input files, and the checks on names and folders.
// Display-free.

#include <wx/arrstr.h>
#include <wx/string.h>

// "PDF files(*.pdf)|*.pdf;"
wxString GetFileDialogWildcard();
// A new list with the single entry "*.pdf".
wxArrayString GetScanPatterns();
// ".pdf"
wxString GetWrittenExtension();
// True when ext (without dot) is in the list ";pdf;". Case-sensitive: callers
// lower-case first where case does not matter.
bool IsSupportedExtension(const wxString& ext);

// The wildcard's text up to its first "|": "PDF files(*.pdf)".
wxString GetFileTypeDescription();

// Path lists: every path followed by "|"; "" means none.
void AppendToPathList(wxString& pathList, const wxString& path);
wxArrayString SplitPathList(const wxString& pathList);
