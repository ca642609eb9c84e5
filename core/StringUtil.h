#pragma once

#include <wx/string.h>
#include <cstdint>

class StringUtil {
public:
    // "%.1f" of the count in B, KB, MB or GB; the unit is chosen before rounding.
    static wxString FormatSize(uint64_t bytes);
    // The year of the build date: the text after its last blank.
    static wxString GetBuildYear();
    static wxString GetBuildDate();
    // Text before / after the last occurrence of ch; the whole text has no "after".
    static wxString BeforeLast(const wxString& text, wxUniChar ch);
    static wxString AfterLast(const wxString& text, wxUniChar ch);
    // A path the system gave (program path, documents folder) with "/" between its
    // folders. Only Windows separates folders with "\\"; elsewhere it is a name
    // character and the path comes back as it is.
    static wxString ToSlashes(const wxString& path);
    static bool IsAscii(const wxString& text);
};
