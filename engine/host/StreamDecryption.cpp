#include "engine/host/StreamDecryption.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr size_t kPiece = 256u << 10;
constexpr size_t kBlock = 16;
} // namespace

StreamDecryption::StreamDecryption(const std::string& fileKey, int V, int R, bool aes)
    : m_cipher(fileKey, V, R, aes), m_aes(aes), m_in(kPiece), m_out(kPiece + kBlock) {}

StreamDecryption::~StreamDecryption() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool StreamDecryption::Open(const std::string& path) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return m_fd >= 0;
}

bool StreamDecryption::ReadAt(uint64_t offset, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(m_fd, m_in.data() + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool StreamDecryption::DecryptsTo(uint64_t offset, uint64_t length, int num, int gen,
                                  const char* plain, size_t plainLength) {
    size_t matched = 0; // plain bytes compared so far
    // Decrypted bytes must continue the plain text exactly.
    auto follows = [&](size_t n) {
        if (n > plainLength - matched || std::memcmp(m_out.data(), plain + matched, n) != 0)
            return false;
        matched += n;
        return true;
    };
    m_cipher.SetObject(num, gen);
    uint64_t at = 0;
    if (m_aes) {
        // An initialisation vector, then whole blocks ending in padding.
        if (length < 2 * kBlock || length % kBlock != 0 || !ReadAt(offset, kBlock))
            return false;
        m_cipher.BeginDecrypt(m_in.data());
        at = kBlock;
    } else {
        m_cipher.BeginDecrypt(nullptr);
    }
    size_t produced = 0;
    while (at < length) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(kPiece, length - at));
        if (!ReadAt(offset + at, n) ||
            !m_cipher.DecryptUpdate(m_in.data(), n, m_out.data(), produced) || !follows(produced))
            return false;
        at += n;
    }
    return m_cipher.FinishDecrypt(m_out.data(), produced) && follows(produced) &&
           matched == plainLength;
}
