#include "update/VersionKey.h"

#include <cstring>

namespace {
constexpr int kParts = 3;
constexpr int kDigitsPerPart = 3;
constexpr unsigned kPartMax = 999;
} // namespace

void MakeVersionKey(char* key, const char* versionUtf8) {
    std::memset(key, 0, kVersionKeyArea);
    unsigned parts[kParts] = {0, 0, 0};
    const char* p = versionUtf8 ? versionUtf8 : "";
    for (int i = 0; i < kParts && *p; ++i) {
        unsigned value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + static_cast<unsigned>(*p - '0');
            if (value > kPartMax)
                value = kPartMax;
            ++p;
        }
        parts[i] = value;
        // Skip a suffix such as "beta" up to the next dot.
        while (*p && *p != '.')
            ++p;
        if (*p == '.')
            ++p;
    }
    for (int i = 0; i < kParts; ++i) {
        unsigned value = parts[i];
        for (int d = kDigitsPerPart - 1; d >= 0; --d) {
            key[i * kDigitsPerPart + d] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    }
}

int CompareVersions(const wxString& a, const wxString& b) {
    char keyA[kVersionKeyArea];
    char keyB[kVersionKeyArea];
    MakeVersionKey(keyA, a.utf8_str());
    MakeVersionKey(keyB, b.utf8_str());
    return std::strncmp(keyA, keyB, kVersionKeyCapacity);
}
