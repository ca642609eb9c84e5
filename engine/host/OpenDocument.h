#pragma once
// A document qpdf has open, with the mapped file it reads from (the document
// goes first). Warnings are collected, never printed.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QPDF;
class MappedInput;

struct OpenDocument {
    std::unique_ptr<MappedInput> input;
    std::unique_ptr<QPDF> pdf;

    OpenDocument();
    OpenDocument(OpenDocument&&) noexcept;
    OpenDocument& operator=(OpenDocument&&) noexcept;
    ~OpenDocument();
    void reset();

    // Opens the file fd reads (with a password, when not null); fd stays the
    // caller's. Returns the PDFMS_OPEN_* state reached: PDFMS_OPEN_OK when it
    // opened. `mapped`: read through a memory mapping rather than a bounded
    // buffer; files too big to map always use the buffer.
    int32_t Open(int fd, const char* password, bool mapped = true);
    // Opens path, for tests and tools: the engine host gets descriptors.
    int32_t Open(const std::string& path, const char* password, bool mapped = true);
    // Lists the pages; -1 when they cannot be listed. qpdf reads lazily, so a file
    // that opened may still fail here.
    int32_t CountPages();
    // The text of each warning so far, without file name and offset.
    std::vector<std::string> Warnings();
};
