#include "engine/host/StreamDecryption.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFCryptoProvider.hh>

#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace {
constexpr size_t kPiece = 256u << 10;
constexpr size_t kBlock = 16;
} // namespace

StreamDecryption::StreamDecryption(const std::string& fileKey, int V, int R, bool aes)
    : m_fileKey(fileKey), m_V(V), m_R(R), m_aes(aes), m_in(kPiece), m_out(kPiece + kBlock) {
    if (m_aes) {
        m_ctx = EVP_CIPHER_CTX_new();
        if (!m_ctx)
            throw std::bad_alloc();
    } else {
        m_rc4 = QPDFCryptoProvider::getImpl();
    }
}

StreamDecryption::~StreamDecryption() {
    if (m_ctx)
        EVP_CIPHER_CTX_free(m_ctx);
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
    const std::string key = QPDF::compute_data_key(m_fileKey, num, gen, m_aes, m_V, m_R);
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
    size_t matched = 0; // plain bytes compared so far
    // Decrypted bytes must continue the plain text exactly.
    auto follows = [&](const unsigned char* bytes, size_t n) {
        if (n > plainLength - matched || std::memcmp(bytes, plain + matched, n) != 0)
            return false;
        matched += n;
        return true;
    };
    if (!m_aes) {
        if (length != plainLength)
            return false;
        m_rc4->RC4_init(keyBytes, static_cast<int>(key.size()));
        for (uint64_t at = 0; at < length;) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(kPiece, length - at));
            if (!ReadAt(offset + at, n))
                return false;
            m_rc4->RC4_process(m_in.data(), n, m_out.data());
            if (!follows(m_out.data(), n))
                return false;
            at += n;
        }
        m_rc4->RC4_finalize();
        return matched == plainLength;
    }
    // An initialisation vector, then whole blocks ending in padding.
    if (length < 2 * kBlock || length % kBlock != 0 || !ReadAt(offset, kBlock))
        return false;
    unsigned char iv[kBlock];
    std::memcpy(iv, m_in.data(), kBlock);
    if (EVP_DecryptInit_ex(m_ctx, key.size() == 32 ? EVP_aes_256_cbc() : EVP_aes_128_cbc(), nullptr,
                           keyBytes, iv) != 1)
        return false;
    for (uint64_t at = kBlock; at < length;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(kPiece, length - at));
        int out = 0;
        if (!ReadAt(offset + at, n) ||
            EVP_DecryptUpdate(m_ctx, m_out.data(), &out, m_in.data(), static_cast<int>(n)) != 1 ||
            !follows(m_out.data(), static_cast<size_t>(out)))
            return false;
        at += n;
    }
    int out = 0;
    return EVP_DecryptFinal_ex(m_ctx, m_out.data(), &out) == 1 &&
           follows(m_out.data(), static_cast<size_t>(out)) && matched == plainLength;
}
