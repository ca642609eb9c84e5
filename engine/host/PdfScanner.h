#pragma once
// Splits the bytes of PDF objects into tokens the way a reader does. The one-pass
// writer needs exactly this much syntax: every string (to encrypt it), the end of
// a dictionary (where stream data starts) and the keywords that end an object.
// Numbers, keywords, booleans and null are all words; the caller tells them apart.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

struct PdfToken {
    enum class Kind {
        End, // no more bytes
        Bad, // malformed, or cut short by the end of the bytes
        DictOpen,
        DictClose,
        ArrayOpen,
        ArrayClose,
        BraceOpen,
        BraceClose,
        Name,
        String, // literal or hexadecimal
        Word,
        Comment
    };
    Kind kind = Kind::End;
    size_t begin = 0; // raw bytes [begin, end) of the scanned range
    size_t end = 0;
};

class PdfScanner {
public:
    PdfScanner(const char* data, size_t size) : m_data(data), m_size(size) {}

    // The next token after white space. A string's decoded bytes, or a name's
    // decoded text without its slash, go to `value` when it is not null.
    PdfToken Next(std::string* value = nullptr);

    // Strings are decoded into `value` unless this is off; stepping over them
    // is then much cheaper.
    void SetDecodeStrings(bool on) { m_decodeStrings = on; }

    size_t pos() const { return m_pos; }
    void seek(size_t pos) { m_pos = pos; }
    const char* data() const { return m_data; }
    size_t size() const { return m_size; }

    // True when the token's raw bytes are exactly `word` (inline: the length of
    // a literal is then known when compiling).
    bool Is(const PdfToken& token, const char* word) const {
        const size_t n = std::strlen(word);
        return token.end - token.begin == n && std::memcmp(m_data + token.begin, word, n) == 0;
    }
    // A word that is a plain non-negative integer (digits only, at most 18).
    bool ToInt(const PdfToken& token, int64_t& value) const;
    // False for a name qpdf would warn about when reading it: a '#' without two
    // hex digits after it, or one that encodes a null.
    bool IsWellFormedName(const PdfToken& token) const;

    static bool IsWhite(unsigned char c);
    static bool IsDelimiter(unsigned char c);
    static bool IsRegular(unsigned char c);

private:
    PdfToken::Kind LiteralString(std::string* value);
    PdfToken::Kind HexString(std::string* value);
    PdfToken::Kind BadHex(size_t from);
    void Name(std::string* value);

    const char* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_decodeStrings = true;
};
