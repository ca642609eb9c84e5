#include "app/HandOverMessage.h"

#include "core/PathText.h"

#include <cstring>

namespace {
const char kMagic[4] = {'P', 'Z', 'H', '1'};
} // namespace

std::string HandOverMessage::Encode(const wxArrayString& paths) {
    if (paths.size() > kMaxPaths)
        return std::string();
    std::string payload;
    for (const wxString& path : paths) {
        const std::string bytes = PathText::ToBytes(path);
        if (bytes.empty() || bytes.size() > kMaxPathBytes || bytes.find('\0') != std::string::npos)
            return std::string();
        payload += bytes;
        payload += '\0';
    }
    if (payload.size() > kMaxPayloadBytes)
        return std::string();
    std::string message(kMagic, sizeof kMagic);
    const uint32_t size = static_cast<uint32_t>(payload.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        message += static_cast<char>((size >> shift) & 0xFF);
    return message + payload;
}

bool HandOverMessage::CanBegin(const char* data, size_t size) {
    return std::memcmp(data, kMagic, size < sizeof kMagic ? size : sizeof kMagic) == 0;
}

bool HandOverMessage::ReadHeader(const char* header, uint32_t& payloadBytes) {
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return false;
    payloadBytes = 0;
    for (size_t i = sizeof kMagic; i < kHeaderBytes; ++i)
        payloadBytes = (payloadBytes << 8) | static_cast<unsigned char>(header[i]);
    return payloadBytes <= kMaxPayloadBytes;
}

bool HandOverMessage::Decode(const std::string& payload, wxArrayString& paths) {
    paths.clear();
    size_t start = 0;
    while (start < payload.size()) {
        const size_t end = payload.find('\0', start);
        if (end == std::string::npos || end == start || end - start > kMaxPathBytes ||
            paths.size() == kMaxPaths) {
            paths.clear();
            return false;
        }
        paths.Add(PathText::FromBytes(payload.substr(start, end - start)));
        start = end + 1;
    }
    return true;
}
