#pragma once
// What a password may be at each level, in words the user reads. The rules are
// the engine's own (engine/api/PasswordEncoding.h): RC4 and AES-128 files (R2 to
// R4) take at most 32 characters of PDFDocEncoding, AES-256 files (R6) at most 127
// bytes of UTF-8 that SASLprep accepts.

#include <wx/string.h>

class PasswordRules {
public:
    // The message of the rule one password breaks at level, or "".
    static wxString Check(const wxString& password, int level);
};
