#include "engine/host/StreamDecryption.h"

#include "engine/host/SourceWindow.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kPiece = 256u << 10;
constexpr size_t kBlock = 16;
} // namespace

StreamDecryption::StreamDecryption(const std::string& fileKey, int V, int R, bool aes)
    : m_cipher(fileKey, V, R, aes), m_aes(aes), m_out(kPiece + kBlock) {}

bool StreamDecryption::DecryptsTo(SourceWindow& file, uint64_t offset, uint64_t length, int num,
                                  int gen, const char* plain, size_t plainLength) {
    size_t matched = 0; // plain bytes compared so far
    // Decrypted bytes must continue the plain text exactly.
    auto follows = [&](size_t n) {
        if (n > plainLength - matched || std::memcmp(m_out.data(), plain + matched, n) != 0)
            return false;
        matched += n;
        return true;
    };
    const char* data = nullptr;
    m_cipher.SetObject(num, gen);
    uint64_t at = 0;
    if (m_aes) {
        // An initialisation vector, then whole blocks ending in padding.
        if (length < 2 * kBlock || length % kBlock != 0 ||
            file.View(offset, kBlock, data) != kBlock)
            return false;
        m_cipher.BeginDecrypt(reinterpret_cast<const unsigned char*>(data));
        at = kBlock;
    } else {
        m_cipher.BeginDecrypt(nullptr);
    }
    size_t produced = 0;
    while (at < length) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(kPiece, length - at));
        if (file.View(offset + at, n, data) != n ||
            !m_cipher.DecryptUpdate(reinterpret_cast<const unsigned char*>(data), n, m_out.data(),
                                    produced) ||
            !follows(produced))
            return false;
        at += n;
    }
    return m_cipher.FinishDecrypt(m_out.data(), produced) && follows(produced) &&
           matched == plainLength;
}
