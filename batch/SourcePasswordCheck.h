#pragma once
// Whether a password lets a run write an encrypted source anew, asked of the engine
// when the file is added rather than when the run reaches it.

#include <wx/string.h>

#include <cstdint>
#include <string>

struct SourcePasswordCheck {
    // PDFMS_OK, PDFMS_ERR_SOURCE_PASSWORD (wrong), PDFMS_ERR_SOURCE_RESTRICTED (it
    // only opens a file that restricts something) or why the file cannot be read.
    int32_t code = 0;
    int32_t pages = 0; // when it may be written
};

// One engine service per call, on the calling thread.
SourcePasswordCheck CheckSourcePassword(const wxString& path, const std::string& password);
