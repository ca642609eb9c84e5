#pragma once
// Passwords arrive as UTF-8; each encryption revision wants its own bytes. The
// start checks of every front end, both writers and the check of the written file
// go through here, so a password the checks accept is one the engine takes, and a
// password that opens one writer's output opens the other's. Display-free and
// without qpdf: the host and the batch code both link it.

#include <cstdint>
#include <string>

class PasswordEncoding {
public:
    // The rule a password breaks at a level, if any.
    enum class Problem {
        None,
        NotText,         // not UTF-8, or holds a NUL
        NotPdfDoc,       // R2-R4: a character without a PDFDocEncoding code
        TooLong,         // R2-R4: more than 32 bytes; R6: more than 127 after SASLprep
        Prohibited,      // R6: a character SASLprep forbids (controls, direction marks...)
        MixedDirections, // R6: right-to-left and left-to-right text SASLprep refuses
    };

    // The first rule password breaks at level (a PDFMS_LEVEL_*); the standard
    // would ignore what lies beyond the length limits, so two longer passwords with
    // a common start would open the file alike.
    static Problem Check(int32_t level, const std::string& utf8);

    // The bytes the standard reads. AES-256 (revision 6): SASLprep (libidn,
    // unassigned code points allowed as a reader's query would), then cut to 127
    // bytes. Earlier revisions: PDFDocEncoding. False when the text is not UTF-8,
    // SASLprep refuses it, or a character has no PDFDocEncoding code.
    static bool Prepare(int32_t level, const std::string& utf8, std::string& out);

    // The PDFDocEncoding bytes of UTF-8 text; false when a character has none.
    static bool ToPdfDocEncoding(const std::string& utf8, std::string& bytes);

    static bool IsUtf8(const std::string& text);
};
