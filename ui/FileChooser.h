#pragma once
// The open-files dialog of the list. GUI thread; goes through the dialog seam.

#include <wx/string.h>

// A path list ("/" separators, each path followed by "|") of the chosen files with
// a supported extension; every other file is named in a " Fail to open file " box.
// "" when cancelled or nothing was accepted.
wxString ChooseFiles(const wxString& defaultDir);
