#pragma once
// Passwords arrive as UTF-8; each encryption revision wants its own bytes. Both
// writers and the check of the written file go through here, so a password that
// opens one writer's output opens the other's.

#include <cstdint>
#include <string>

class PasswordEncoding {
public:
    // AES-256 (revision 6): SASLprep (libidn, unassigned code points allowed as a
    // reader's query would), then cut to 127 bytes. Earlier revisions: converted to
    // PDFDocEncoding. False when the text is not UTF-8, SASLprep refuses it, or a
    // character has no PDFDocEncoding code.
    static bool Prepare(int32_t level, const std::string& utf8, std::string& out);

    static bool IsUtf8(const std::string& text);
};
