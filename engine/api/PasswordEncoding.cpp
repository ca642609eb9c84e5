#include "engine/api/PasswordEncoding.h"

#include "engine/api/EngineService.h"
#include "engine/api/WipeSecret.h"

#include <cstdlib>
#include <cstring>
#include <stringprep.h>

namespace {

constexpr size_t kMaxR4Bytes = 32;
constexpr size_t kMaxR6Bytes = 127;

// PDFDocEncoding where it is not Latin-1: 0x18 to 0x1F and 0x80 to 0xA0. Control
// characters, DEL and the soft hyphen have no code a password may use.
const uint32_t kLow[8] = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
const uint32_t kHigh[33] = {0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039,
                            0x203A, 0x2212, 0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A,
                            0x2122, 0xFB01, 0xFB02, 0x0141, 0x0152, 0x0160, 0x0178, 0x017D, 0x0131,
                            0x0142, 0x0153, 0x0161, 0x017E, 0,      0x20AC};

bool ToByte(uint32_t ch, unsigned char& byte) {
    if ((ch >= 0x20 && ch < 0x7F) || (ch >= 0xA1 && ch <= 0xFF && ch != 0xAD)) {
        byte = static_cast<unsigned char>(ch);
        return true;
    }
    for (unsigned i = 0; i < 8; ++i) {
        if (kLow[i] == ch) {
            byte = static_cast<unsigned char>(0x18 + i);
            return true;
        }
    }
    for (unsigned i = 0; i < 33; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == ch) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

// The code point starting at text[i] (valid UTF-8), moving i past it.
uint32_t NextCodePoint(const std::string& text, size_t& i) {
    const unsigned char c = static_cast<unsigned char>(text[i++]);
    if (c < 0x80)
        return c;
    const int follow = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    uint32_t cp = c & (0x3F >> follow);
    for (int k = 0; k < follow && i < text.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    return cp;
}

// SASLprep of utf8, or the problem that refuses it.
PasswordEncoding::Problem SaslPrep(const std::string& utf8, std::string& out) {
    out.clear();
    if (utf8.empty())
        return PasswordEncoding::Problem::None;
    char* prepared = nullptr;
    const int rc =
        stringprep_profile(utf8.c_str(), &prepared, "SASLprep", Stringprep_profile_flags(0));
    if (rc == STRINGPREP_OK && prepared)
        out = prepared;
    if (prepared)
        ::explicit_bzero(prepared, std::strlen(prepared));
    std::free(prepared);
    switch (rc) {
    case STRINGPREP_OK:
        return PasswordEncoding::Problem::None;
    case STRINGPREP_BIDI_BOTH_L_AND_RAL:
    case STRINGPREP_BIDI_LEADTRAIL_NOT_RAL:
        return PasswordEncoding::Problem::MixedDirections;
    default:
        return PasswordEncoding::Problem::Prohibited;
    }
}

} // namespace

bool PasswordEncoding::IsUtf8(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int follow;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xe0) == 0xc0) {
            follow = 1;
            cp = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            follow = 2;
            cp = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            follow = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(follow) >= n)
            return false;
        for (int k = 1; k <= follow; ++k) {
            unsigned char d = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((d & 0xc0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3f);
        }
        // Overlong forms, surrogates and values past Unicode.
        static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[follow] || (cp >= 0xd800 && cp <= 0xdfff) || cp > 0x10ffff)
            return false;
        i += static_cast<size_t>(follow) + 1;
    }
    return true;
}

bool PasswordEncoding::ToPdfDocEncoding(const std::string& utf8, std::string& bytes) {
    bytes.clear();
    if (!IsUtf8(utf8))
        return false;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char byte = 0;
        if (!ToByte(NextCodePoint(utf8, i), byte))
            return false;
        bytes += static_cast<char>(byte);
    }
    return true;
}

PasswordEncoding::Problem PasswordEncoding::Check(int32_t level, const std::string& utf8) {
    if (!IsUtf8(utf8) || utf8.find('\0') != std::string::npos)
        return Problem::NotText;
    std::string bytes;
    WipeOnExit wipe(bytes);
    if (level != PDFMS_LEVEL_AES_256) {
        if (!ToPdfDocEncoding(utf8, bytes))
            return Problem::NotPdfDoc;
        return bytes.size() > kMaxR4Bytes ? Problem::TooLong : Problem::None;
    }
    const Problem problem = SaslPrep(utf8, bytes);
    if (problem != Problem::None)
        return problem;
    return bytes.size() > kMaxR6Bytes ? Problem::TooLong : Problem::None;
}

bool PasswordEncoding::Prepare(int32_t level, const std::string& utf8, std::string& out) {
    out.clear();
    if (!IsUtf8(utf8) || utf8.find('\0') != std::string::npos)
        return false;
    if (level != PDFMS_LEVEL_AES_256)
        return ToPdfDocEncoding(utf8, out);
    if (SaslPrep(utf8, out) != Problem::None)
        return false;
    if (out.size() > kMaxR6Bytes)
        out.resize(kMaxR6Bytes);
    return true;
}
