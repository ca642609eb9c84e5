#pragma once
// Writes PDF files for tests and benchmarks. Display-free and independent of the
// qpdf library, so any test program may link it; the encrypted variants call the
// Debian `qpdf` command-line tool. Every function returns false when the file could
// not be written (or the tool failed), true otherwise.

#include <cstdint>
#include <string>

class TestPdf {
public:
    // A clean PDF of `pages` pages (at least 0), each with a line of text. When
    // `padBytes` is above 0, page 1 also carries an image stream of that many
    // incompressible bytes, so the file reaches a chosen size.
    static bool WritePages(const std::string& path, int pages, uint64_t padBytes = 0);

    // Sound objects behind a broken cross-reference table: readers must rebuild it
    // (qpdf warns and repairs), after which all `pages` pages are there.
    static bool WriteNeedsRepair(const std::string& path, int pages);

    // Starts with "%PDF-" but holds no usable object or trailer.
    static bool WriteDamaged(const std::string& path);

    // Plain text that does not look like a PDF at all.
    static bool WriteNotPdf(const std::string& path);

    // Needs `userPassword` to open (AES-256, via the qpdf tool).
    static bool WriteUserPassword(const std::string& path, const std::string& userPassword,
                                  const std::string& ownerPassword, int pages);

    // Opens without a password but is encrypted with an owner password that
    // forbids printing and modifying.
    static bool WriteOwnerOnly(const std::string& path, const std::string& ownerPassword,
                               int pages);

    // One page under `depth` nested /Pages nodes. Readers that walk the tree by
    // recursion overflow a normal stack (the qpdf 11.3 tool's --check crashes on
    // 30,000 levels with 8 MB); 250,000 levels keep qpdf busy for a second or more.
    static bool WriteDeepPageTree(const std::string& path, int depth);

    // One page whose content stream inflates from a few hundred KB on disk to
    // `inflatedBytes` of zeros.
    static bool WriteDecompressionBomb(const std::string& path, uint64_t inflatedBytes);
};
