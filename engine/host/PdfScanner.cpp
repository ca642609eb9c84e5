#include "engine/host/PdfScanner.h"

#include <cstring>

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

bool IsRegular(unsigned char c) {
    return !PdfScanner::IsWhite(c) && !PdfScanner::IsDelimiter(c);
}

} // namespace

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
        t.kind = LiteralString(value);
        break;
    case ')':
        t.kind = single(PdfToken::Kind::Bad);
        break;
    case '<':
        if (m_pos + 1 < m_size && m_data[m_pos + 1] == '<') {
            m_pos += 2;
            t.kind = PdfToken::Kind::DictOpen;
        } else {
            t.kind = HexString(value);
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
// sequences read as a single LF.
PdfToken::Kind PdfScanner::LiteralString(std::string* value) {
    if (value)
        value->clear();
    size_t i = m_pos + 1;
    int depth = 1;
    while (i < m_size) {
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
        } else if (c == '\r') {
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
    if (value)
        value->clear();
    size_t i = m_pos + 1;
    int high = -1;
    while (i < m_size) {
        unsigned char c = static_cast<unsigned char>(m_data[i++]);
        if (c == '>') {
            if (value && high >= 0)
                value->push_back(static_cast<char>(high << 4));
            m_pos = i;
            return PdfToken::Kind::String;
        }
        if (IsWhite(c))
            continue;
        int d = HexDigit(c);
        if (d < 0) {
            m_pos = i;
            return PdfToken::Kind::Bad;
        }
        if (high < 0) {
            high = d;
        } else {
            if (value)
                value->push_back(static_cast<char>((high << 4) | d));
            high = -1;
        }
    }
    m_pos = m_size;
    return PdfToken::Kind::Bad;
}

void PdfScanner::Name(std::string* value) {
    size_t i = m_pos + 1;
    if (value)
        value->clear();
    while (i < m_size && IsRegular(static_cast<unsigned char>(m_data[i]))) {
        char c = m_data[i++];
        if (c == '#' && value && i + 1 < m_size) {
            int h = HexDigit(static_cast<unsigned char>(m_data[i]));
            int l = HexDigit(static_cast<unsigned char>(m_data[i + 1]));
            if (h >= 0 && l >= 0) {
                value->push_back(static_cast<char>((h << 4) | l));
                i += 2;
                continue;
            }
        }
        if (value)
            value->push_back(c);
    }
    m_pos = i;
}

bool PdfScanner::Is(const PdfToken& token, const char* word) const {
    size_t n = std::strlen(word);
    return token.end - token.begin == n && std::memcmp(m_data + token.begin, word, n) == 0;
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
