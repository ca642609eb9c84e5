#pragma once
// Asks the engine how a file opens and packs the answers into a list row.

#include "batch/FileRow.h"

#include <wx/string.h>

// Always six texts; never fails. One engine service per call, on the calling thread.
// Codes: "0".."5" as the engine's open state, "6" for any other state, "4" whenever
// the engine says the file is encrypted.
FileRow ProbeFile(const wxString& path);
