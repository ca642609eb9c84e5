#include "engine/host/PasswordEncoding.h"

#include "engine/api/EngineService.h"

#include <qpdf/QUtil.hh>

#include <cstdlib>
#include <stringprep.h>

namespace {
// The revision 6 limit on a password's length in bytes.
constexpr size_t kMaxR6Password = 127;
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

bool PasswordEncoding::Prepare(int32_t level, const std::string& utf8, std::string& out) {
    out.clear();
    if (!IsUtf8(utf8) || utf8.find('\0') != std::string::npos)
        return false;
    if (level != PDFMS_LEVEL_AES_256)
        return QUtil::utf8_to_pdf_doc(utf8, out, '?');
    if (utf8.empty())
        return true;
    char* prepared = nullptr;
    if (stringprep_profile(utf8.c_str(), &prepared, "SASLprep", Stringprep_profile_flags(0)) !=
        STRINGPREP_OK) {
        std::free(prepared);
        return false;
    }
    out = prepared;
    std::free(prepared);
    if (out.size() > kMaxR6Password)
        out.resize(kMaxR6Password);
    return true;
}
