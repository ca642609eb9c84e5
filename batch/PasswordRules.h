#pragma once
// What a password may be at each level, as the PDF standard reads it. RC4 and
// AES-128 files (R2 to R4) take at most 32 bytes of PDFDocEncoding, AES-256 files
// (R6) at most 127 bytes of UTF-8; the standard ignores whatever lies beyond, so two
// longer passwords with a common start would open the file alike.

#include <wx/string.h>

#include <string>

class PasswordRules {
public:
    // The PDFDocEncoding bytes of text; false when a character has none.
    static bool ToPdfDocEncoding(const wxString& text, std::string& bytes);

    // The first failing rule's message for one password at level, or "".
    static wxString Check(const wxString& password, int level);
};
