#pragma once

#include <wx/string.h>

// outputDir + "/" + fileName up to its last "." + suffix + extension.
// A name without "." gives just suffix + extension.
wxString MakeOutputPath(const wxString& outputDir, const wxString& fileName,
                        const wxString& extension, const wxString& suffix = "_encryption");
