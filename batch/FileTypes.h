#pragma once
// What the program accepts as input files. Display-free.

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

// Appends folder + "/" + name for every regular, non-hidden file directly in folder
// matching one of patterns ("*.pdf", extension compared lower-cased). Returns the
// number of files appended; 0 for an unreadable folder. Names are taken as they are:
// "\" and "|" are name characters like any other.
int ScanFolderForFiles(const wxArrayString& patterns, const wxString& folder, wxArrayString& paths);
