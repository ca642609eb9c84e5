#include "engine/host/PdfScanner.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <initializer_list>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

int HexDigit(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

enum : unsigned char { kRegular, kWhite, kDelimiter };
// White space as qpdf's tokenizer has it: the standard's six and a vertical tab,
// which would otherwise hide a token boundary qpdf sees inside one of our words.
struct CharClasses {
    unsigned char of[256] = {};
    constexpr CharClasses() {
        for (unsigned char c : {' ', '\n', '\r', '\t', '\f', '\v', '\0'})
            of[c] = kWhite;
        for (unsigned char c : {'(', ')', '<', '>', '[', ']', '{', '}', '/', '%'})
            of[c] = kDelimiter;
    }
};
constexpr CharClasses kClasses;

// Bytes that end a run of plain bytes inside a literal string.
struct LiteralSpecial {
    bool table[256] = {};
    constexpr LiteralSpecial() : table() {
        table[static_cast<unsigned char>('\\')] = true;
        table[static_cast<unsigned char>('(')] = true;
        table[static_cast<unsigned char>(')')] = true;
        table[static_cast<unsigned char>('\r')] = true;
    }
    bool operator[](unsigned char c) const { return table[c]; }
};
constexpr LiteralSpecial kLiteralSpecial;

// Hex digit values; white space is skipped, anything else is an error. Inside
// hex strings qpdf also skips a vertical tab.
constexpr signed char kWhiteInHex = -1;
constexpr signed char kNotHex = -2;
struct HexTable {
    signed char table[256] = {};
    constexpr HexTable() : table() {
        for (int c = 0; c < 256; ++c)
            table[c] = kNotHex;
        for (int c = '0'; c <= '9'; ++c)
            table[c] = static_cast<signed char>(c - '0');
        for (int c = 'a'; c <= 'f'; ++c)
            table[c] = static_cast<signed char>(c - 'a' + 10);
        for (int c = 'A'; c <= 'F'; ++c)
            table[c] = static_cast<signed char>(c - 'A' + 10);
        for (unsigned char c : {' ', '\n', '\r', '\t', '\f', '\v', '\0'})
            table[c] = kWhiteInHex;
    }
    signed char operator[](unsigned char c) const { return table[c]; }
};
constexpr HexTable kHex;

// Takes the leading hex digits of [p, p + n) in groups of sixteen, as long as a
// group holds nothing else, and writes their bytes to `out` (when not null).
// Returns how many digits it took; the rest is left to the byte-by-byte reading
// that handles white space and errors. Long hex strings are mostly such runs.
size_t DigitGroups(const char* p, size_t n, char* out) {
    size_t k = 0;
#if defined(__SSE2__)
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    // Unsigned x < limit as a signed compare of both with the top bit flipped.
    const __m128i tenDigits = _mm_set1_epi8(static_cast<char>(10 ^ 0x80));
    const __m128i sixLetters = _mm_set1_epi8(static_cast<char>(6 ^ 0x80));
    for (; k + 16 <= n; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        const __m128i digit = _mm_sub_epi8(v, _mm_set1_epi8('0'));
        const __m128i letter =
            _mm_sub_epi8(_mm_or_si128(v, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
        const __m128i isDigit = _mm_cmplt_epi8(_mm_xor_si128(digit, flip), tenDigits);
        const __m128i isLetter = _mm_cmplt_epi8(_mm_xor_si128(letter, flip), sixLetters);
        if (_mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)) != 0xffff)
            break;
        if (!out)
            continue;
        const __m128i nibbles =
            _mm_or_si128(_mm_and_si128(isDigit, digit),
                         _mm_andnot_si128(isDigit, _mm_add_epi8(letter, _mm_set1_epi8(10))));
        // Each 16-bit lane holds two digits, the first in its low byte.
        const __m128i bytes =
            _mm_or_si128(_mm_slli_epi16(_mm_and_si128(nibbles, _mm_set1_epi16(0x0f)), 4),
                         _mm_srli_epi16(nibbles, 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k / 2), _mm_packus_epi16(bytes, bytes));
    }
#else
    (void)p, (void)n, (void)out;
#endif
    return k;
}

} // namespace

bool PdfScanner::IsWhite(unsigned char c) {
    return kClasses.of[c] == kWhite;
}

bool PdfScanner::IsDelimiter(unsigned char c) {
    return kClasses.of[c] == kDelimiter;
}

bool PdfScanner::IsRegular(unsigned char c) {
    return kClasses.of[c] == kRegular;
}

PdfToken PdfScanner::Next(std::string* value) {
    while (m_pos < m_size && IsWhite(static_cast<unsigned char>(m_data[m_pos])))
        ++m_pos;
    PdfToken t;
    t.begin = m_pos;
    if (m_pos >= m_size) {
        t.end = m_pos;
        return t;
    }
    const unsigned char c = static_cast<unsigned char>(m_data[m_pos]);
    auto single = [&](PdfToken::Kind kind) {
        ++m_pos;
        return kind;
    };
    switch (c) {
    case '(':
        t.kind = LiteralString(m_decodeStrings ? value : nullptr);
        break;
    case ')':
        t.kind = single(PdfToken::Kind::Bad);
        break;
    case '<':
        if (m_pos + 1 < m_size && m_data[m_pos + 1] == '<') {
            m_pos += 2;
            t.kind = PdfToken::Kind::DictOpen;
        } else {
            t.kind = HexString(m_decodeStrings ? value : nullptr);
        }
        break;
    case '>':
        if (m_pos + 1 < m_size && m_data[m_pos + 1] == '>') {
            m_pos += 2;
            t.kind = PdfToken::Kind::DictClose;
        } else {
            t.kind = single(PdfToken::Kind::Bad);
        }
        break;
    case '[':
        t.kind = single(PdfToken::Kind::ArrayOpen);
        break;
    case ']':
        t.kind = single(PdfToken::Kind::ArrayClose);
        break;
    case '{':
        t.kind = single(PdfToken::Kind::BraceOpen);
        break;
    case '}':
        t.kind = single(PdfToken::Kind::BraceClose);
        break;
    case '/':
        Name(value);
        t.kind = PdfToken::Kind::Name;
        break;
    case '%':
        while (m_pos < m_size && m_data[m_pos] != '\n' && m_data[m_pos] != '\r')
            ++m_pos;
        t.kind = PdfToken::Kind::Comment;
        break;
    default:
        while (m_pos < m_size && IsRegular(static_cast<unsigned char>(m_data[m_pos])))
            ++m_pos;
        t.kind = PdfToken::Kind::Word;
        break;
    }
    t.end = m_pos;
    return t;
}

// A literal string: balanced parentheses, backslash escapes, and end-of-line
// sequences read as a single LF. Runs of plain bytes are copied in one go.
PdfToken::Kind PdfScanner::LiteralString(std::string* value) {
    if (value)
        value->clear();
    size_t i = m_pos + 1;
    int depth = 1;
    while (i < m_size) {
        size_t run = i;
        while (run < m_size && !kLiteralSpecial[static_cast<unsigned char>(m_data[run])])
            ++run;
        if (value)
            value->append(m_data + i, run - i);
        i = run;
        if (i >= m_size)
            break;
        unsigned char c = static_cast<unsigned char>(m_data[i++]);
        if (c == '\\') {
            if (i >= m_size)
                break;
            unsigned char e = static_cast<unsigned char>(m_data[i++]);
            int out = -1;
            switch (e) {
            case 'n':
                out = '\n';
                break;
            case 'r':
                out = '\r';
                break;
            case 't':
                out = '\t';
                break;
            case 'b':
                out = '\b';
                break;
            case 'f':
                out = '\f';
                break;
            case '\r': // line continuation: CR or CR LF
                if (i < m_size && m_data[i] == '\n')
                    ++i;
                break;
            case '\n':
                break;
            default:
                if (e >= '0' && e <= '7') {
                    int code = e - '0';
                    for (int k = 0; k < 2 && i < m_size && m_data[i] >= '0' && m_data[i] <= '7';
                         ++k)
                        code = code * 8 + (m_data[i++] - '0');
                    out = code & 0xff;
                } else {
                    out = e; // also '(' ')' '\\'; an unknown escape keeps its character
                }
                break;
            }
            if (value && out >= 0)
                value->push_back(static_cast<char>(out));
            continue;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) {
                m_pos = i;
                return PdfToken::Kind::String;
            }
        } else { // '\r', alone or before '\n'
            if (i < m_size && m_data[i] == '\n')
                ++i;
            c = '\n';
        }
        if (value)
            value->push_back(static_cast<char>(c));
    }
    m_pos = m_size;
    return PdfToken::Kind::Bad;
}

PdfToken::Kind PdfScanner::HexString(std::string* value) {
    const size_t i = m_pos + 1;
    if (!value) {
        // Stepping over: one pass that checks the bytes and finds the end.
        size_t k = i;
        while (k < m_size) {
            k += DigitGroups(m_data + k, m_size - k, nullptr);
            // A group's worth byte by byte (white space, the end), then groups again.
            for (const size_t stop = std::min(m_size, k + 16); k < stop; ++k) {
                const unsigned char c = static_cast<unsigned char>(m_data[k]);
                if (c == '>') {
                    m_pos = k + 1;
                    return PdfToken::Kind::String;
                }
                if (kHex[c] == kNotHex) {
                    if (std::memchr(m_data + k, '>', m_size - k))
                        return BadHex(i);
                    m_pos = m_size; // no end at all
                    return PdfToken::Kind::Bad;
                }
            }
        }
        m_pos = m_size;
        return PdfToken::Kind::Bad;
    }
    // Find the end first: the decoded size is then known.
    const void* found = std::memchr(m_data + i, '>', m_size - i);
    const size_t close =
        found ? static_cast<size_t>(static_cast<const char*>(found) - m_data) : m_size;
    if (close >= m_size) {
        m_pos = m_size;
        return PdfToken::Kind::Bad;
    }
    value->resize((close - i + 1) / 2);
    char* out = &(*value)[0];
    size_t n = 0;
    int high = -1;
    size_t k = i;
    while (k < close) {
        if (high < 0) {
            const size_t digits = DigitGroups(m_data + k, close - k, out + n);
            k += digits;
            n += digits / 2;
            if (k >= close)
                break;
        }
        const signed char d = kHex[static_cast<unsigned char>(m_data[k++])];
        if (d == kNotHex)
            return BadHex(i);
        if (d < 0)
            continue; // white space
        if (high < 0) {
            high = static_cast<unsigned char>(d); // a digit here: 0 to 15
        } else {
            out[n++] = static_cast<char>((high << 4) | d);
            high = -1;
        }
    }
    if (high >= 0)
        out[n++] = static_cast<char>(high << 4);
    value->resize(n);
    m_pos = close + 1;
    return PdfToken::Kind::String;
}

PdfToken::Kind PdfScanner::BadHex(size_t from) {
    while (kHex[static_cast<unsigned char>(m_data[from])] != kNotHex)
        ++from;
    m_pos = from + 1;
    return PdfToken::Kind::Bad;
}

void PdfScanner::Name(std::string* value) {
    size_t i = m_pos + 1;
    size_t end = i;
    while (end < m_size && IsRegular(static_cast<unsigned char>(m_data[end])))
        ++end;
    // Most names have no '#': their text is their bytes.
    if (!value || !std::memchr(m_data + i, '#', end - i)) {
        if (value)
            value->assign(m_data + i, end - i);
        m_pos = end;
        return;
    }
    value->clear();
    while (i < end) {
        char c = m_data[i++];
        if (c == '#' && i + 1 < m_size) {
            int h = HexDigit(static_cast<unsigned char>(m_data[i]));
            int l = HexDigit(static_cast<unsigned char>(m_data[i + 1]));
            if (h >= 0 && l >= 0) {
                value->push_back(static_cast<char>((h << 4) | l));
                i += 2;
                continue;
            }
        }
        value->push_back(c);
    }
    m_pos = i;
}

bool PdfScanner::ToInt(const PdfToken& token, int64_t& value) const {
    if (token.kind != PdfToken::Kind::Word || token.end == token.begin ||
        token.end - token.begin > 18)
        return false;
    int64_t v = 0;
    for (size_t i = token.begin; i < token.end; ++i) {
        char c = m_data[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

bool PdfScanner::IsWellFormedName(const PdfToken& token) const {
    const char* p = m_data + token.begin;
    const char* end = m_data + token.end;
    while ((p = static_cast<const char*>(std::memchr(p, '#', static_cast<size_t>(end - p))))) {
        if (end - p < 3 || !std::isxdigit(static_cast<unsigned char>(p[1])) ||
            !std::isxdigit(static_cast<unsigned char>(p[2])) || (p[1] == '0' && p[2] == '0'))
            return false;
        p += 3;
    }
    return true;
}
