#include "core/PathText.h"

#include <wx/strconv.h>

namespace {
// wx maps a byte b that is not part of valid UTF-8 to U+100000 + b.
constexpr wxUint32 kByteBase = 0x100000;

wxMBConvUTF8& Conversion() {
    static wxMBConvUTF8 conversion(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conversion;
}

wxString Escaped(wxUint32 byte) {
    return wxString::Format("\\x%02X", static_cast<unsigned>(byte & 0xFF));
}
} // namespace

void PathText::Install() {
    wxConvFileName = &Conversion();
}

wxString PathText::FromBytes(const std::string& bytes) {
    return wxString(bytes.data(), Conversion(), bytes.size());
}

std::string PathText::ToBytes(const wxString& path) {
    const wxCharBuffer buffer = path.mb_str(Conversion());
    return std::string(buffer.data(), buffer.length());
}

wxString PathText::Printable(const wxString& text) {
    wxString out;
    out.reserve(text.length());
    for (wxUniChar ch : text) {
        const wxUint32 value = ch.GetValue();
        const bool notUtf8 = value >= kByteBase && value <= kByteBase + 0xFF;
        const bool control = value < 0x20 || value == 0x7F || (value >= 0x80 && value < 0xA0);
        if (notUtf8 || control)
            out += Escaped(value);
        else
            out += ch;
    }
    return out;
}
