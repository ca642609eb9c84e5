#pragma once

#include <wx/string.h>

// outputDir + "/" + fileName up to its last "." + "_encryption" + extension.
// A name without "." gives just "_encryption" + extension.
wxString MakeOutputPath(const wxString& outputDir, const wxString& fileName,
                        const wxString& extension);
