#include "batch/PasswordRules.h"

#include "engine/api/EngineService.h"

#include <cstdint>

namespace {

constexpr size_t kMaxR4Bytes = 32;
constexpr size_t kMaxR6Bytes = 127;

// PDFDocEncoding where it is not Latin-1: 0x18 to 0x1F and 0x80 to 0xA0.
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

} // namespace

bool PasswordRules::ToPdfDocEncoding(const wxString& text, std::string& bytes) {
    bytes.clear();
    for (wxUniChar ch : text) {
        unsigned char byte = 0;
        if (!ToByte(ch.GetValue(), byte))
            return false;
        bytes += static_cast<char>(byte);
    }
    return true;
}

wxString PasswordRules::Check(const wxString& password, int level) {
    if (level == PDFMS_LEVEL_AES_256) {
        if (password.utf8_string().size() > kMaxR6Bytes)
            return "Passwords can be at most 127 bytes long.";
        return wxString();
    }
    std::string bytes;
    if (!ToPdfDocEncoding(password, bytes))
        return "Passwords for this encryption level must use Latin letters, digits and "
               "common symbols only; choose AES-256 for other characters.";
    if (bytes.size() > kMaxR4Bytes)
        return "Passwords for this encryption level can be at most 32 characters long.";
    return wxString();
}
