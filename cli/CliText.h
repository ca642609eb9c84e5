#pragma once
// The command line's texts in the user's language, as the bytes it prints. The
// English texts are the catalogue's message ids: TrUtf8 marks one for the catalogue
// (xgettext -kTrUtf8) and gives its translation as UTF-8.

#include "core/PathText.h"

#include <wx/string.h>
#include <wx/translation.h>

#include <string>

inline std::string TrUtf8(const char* english) {
    return wxGetTranslation(english).utf8_string();
}

// A file name or other bytes as an argument of FormatBytes.
inline wxString Name(const std::string& bytes) {
    return PathText::FromBytes(bytes);
}

// A translated format filled in, as bytes: names given through Name come out as the
// very bytes they were, whatever the rest of the text is.
template <typename... Args> std::string FormatBytes(const wxString& format, const Args&... args) {
    return PathText::ToBytes(wxString::Format(format, args...));
}
