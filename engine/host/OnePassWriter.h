#pragma once
// Writes an encrypted copy of a cleanly laid-out source in one pass: every object
// is read once through the source window and written once, in file order, under
// its own number. Strings are encrypted (and written as literal strings, half the
// size of hexadecimal; a signature's /Contents stays as it is), stream data is
// encrypted piece by piece as it is copied with a new direct /Length, object
// streams are encrypted whole, the source's cross-reference streams and a stale
// linearization dictionary are left out, and a new cross-reference section with
// /Encrypt and /ID ends the file.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class FileSink;
class ObjectCipher;
class QPDF;
class SourceLayout;
class SourceWindow;
class StandardSecurity;
struct LaidObject;

class OnePassWriter {
public:
    OnePassWriter(QPDF& pdf, const SourceLayout& layout, SourceWindow& in,
                  const StandardSecurity& security);

    // Writes everything to `sink`; `id0`/`id1` form the new /ID. Throws
    // std::runtime_error when the source cannot be read or the sink fails, and
    // lets cipher errors through.
    void Write(FileSink& sink, const std::string& id0, const std::string& id1,
               const std::function<void(int)>& progress);

    // Where each object went, in output order, for the check of the written file.
    struct Written {
        int num = 0;
        int gen = 0;
        uint64_t offset = 0;
        uint64_t dataStart = 0; // streams only
        uint64_t dataLength = 0;
        uint64_t bodyBytes = 0; // source bytes of the object without stream data
    };
    const std::vector<Written>& written() const { return m_records; }
    std::vector<Written> TakeWritten() { return std::move(m_records); }
    // Whether the catalog gained the extension entry (AES-256 below PDF 2.0).
    bool editedCatalog() const { return m_editedCatalog; }

private:
    void Put(FileSink& sink, const std::string& s);
    void CopyObject(FileSink& sink, const LaidObject& o, ObjectCipher& cipher, bool editCatalog);
    void CopyBody(const char* data, size_t size, const LaidObject& o, ObjectCipher& cipher,
                  bool editCatalog, uint64_t newLength);
    std::string Header(bool xrefStream, bool& editCatalog);

    QPDF& m_pdf;
    const SourceLayout& m_layout;
    SourceWindow& m_in;
    const StandardSecurity& m_security;
    uint64_t m_written = 0;
    int m_encryptNum = 0;
    bool m_editedCatalog = false;
    std::vector<Written> m_records;
    std::string m_out;     // output being assembled
    std::string m_value;   // decoded string of the token at hand
    std::string m_scratch; // its encrypted bytes
};
