#pragma once
// The open-files dialog of the list. GUI thread; goes through the dialog seam.

#include <wx/arrstr.h>
#include <wx/string.h>

// The chosen files with a supported extension, as the dialog names them; every
// other file is named in a " Fail to open file " box. Empty when cancelled or
// nothing was accepted.
wxArrayString ChooseFiles(const wxString& defaultDir);
