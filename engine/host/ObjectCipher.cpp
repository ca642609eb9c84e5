#include "engine/host/ObjectCipher.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFCryptoProvider.hh>

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

ObjectCipher::ObjectCipher(const std::string& fileKey, int V, int R, bool aes)
    : m_fileKey(fileKey), m_V(V), m_R(R), m_aes(aes) {
    if (m_aes) {
        m_ctx = EVP_CIPHER_CTX_new();
        if (!m_ctx)
            throw std::bad_alloc();
    } else {
        m_rc4 = QPDFCryptoProvider::getImpl();
    }
}

ObjectCipher::~ObjectCipher() {
    if (m_ctx)
        EVP_CIPHER_CTX_free(m_ctx);
}

void ObjectCipher::SetObject(int num, int gen) {
    m_key = QPDF::compute_data_key(m_fileKey, num, gen, m_aes, m_V, m_R);
}

size_t ObjectCipher::EncryptedSize(size_t plain) const {
    return m_aes ? 16 + (plain / 16 + 1) * 16 : plain;
}

void ObjectCipher::RandomIv(unsigned char* iv) {
    if (m_randomUsed + 16 > m_random.size()) {
        m_random.assign(4096, '\0');
        if (RAND_bytes(reinterpret_cast<unsigned char*>(&m_random[0]),
                       static_cast<int>(m_random.size())) != 1)
            throw std::runtime_error("no random data for the AES initialisation vectors");
        m_randomUsed = 0;
    }
    std::copy(m_random.begin() + static_cast<long>(m_randomUsed),
              m_random.begin() + static_cast<long>(m_randomUsed + 16), iv);
    m_randomUsed += 16;
}

void ObjectCipher::Start(const unsigned char* iv, int encrypt) {
    if (!m_aes) {
        m_rc4->RC4_init(reinterpret_cast<const unsigned char*>(m_key.data()),
                        static_cast<int>(m_key.size()));
        return;
    }
    // The cipher is chosen once: OpenSSL 3 looks it up anew on every call that
    // names it, which cost more than encrypting a short string.
    const EVP_CIPHER* type = nullptr;
    if (!m_cipherSet)
        type = m_key.size() == 32 ? EVP_aes_256_cbc() : EVP_aes_128_cbc();
    if (EVP_CipherInit_ex(m_ctx, type, nullptr,
                          reinterpret_cast<const unsigned char*>(m_key.data()), iv, encrypt) != 1)
        throw std::runtime_error("AES initialisation failed");
    m_cipherSet = true;
}

void ObjectCipher::Begin(std::string& out) {
    if (!m_aes) {
        Start(nullptr, 1);
        return;
    }
    unsigned char iv[16];
    RandomIv(iv);
    Start(iv, 1);
    out.append(reinterpret_cast<const char*>(iv), sizeof iv);
}

void ObjectCipher::BeginDecrypt(const unsigned char* iv) {
    Start(iv, 0);
}

bool ObjectCipher::DecryptUpdate(const unsigned char* in, size_t len, unsigned char* out,
                                 size_t& produced) {
    produced = 0;
    if (len == 0)
        return true;
    if (!m_aes) {
        m_rc4->RC4_process(in, len, out);
        produced = len;
        return true;
    }
    int n = 0;
    if (EVP_DecryptUpdate(m_ctx, out, &n, in, static_cast<int>(len)) != 1)
        return false;
    produced = static_cast<size_t>(n);
    return true;
}

bool ObjectCipher::FinishDecrypt(unsigned char* out, size_t& produced) {
    produced = 0;
    if (!m_aes) {
        m_rc4->RC4_finalize();
        return true;
    }
    int n = 0;
    if (EVP_DecryptFinal_ex(m_ctx, out, &n) != 1)
        return false;
    produced = static_cast<size_t>(n);
    return true;
}

void ObjectCipher::Update(const char* data, size_t len, std::string& out) {
    if (len == 0)
        return;
    const size_t at = out.size();
    out.resize(at + len + (m_aes ? 16 : 0));
    unsigned char* dst = reinterpret_cast<unsigned char*>(&out[at]);
    const unsigned char* src = reinterpret_cast<const unsigned char*>(data);
    if (!m_aes) {
        m_rc4->RC4_process(src, len, dst);
        return;
    }
    // EVP takes int lengths; pieces stay far below that.
    int n = 0;
    if (EVP_EncryptUpdate(m_ctx, dst, &n, src, static_cast<int>(len)) != 1)
        throw std::runtime_error("AES encryption failed");
    out.resize(at + static_cast<size_t>(n));
}

void ObjectCipher::Finish(std::string& out) {
    if (!m_aes) {
        m_rc4->RC4_finalize();
        return;
    }
    const size_t at = out.size();
    out.resize(at + 16);
    int n = 0;
    if (EVP_EncryptFinal_ex(m_ctx, reinterpret_cast<unsigned char*>(&out[at]), &n) != 1)
        throw std::runtime_error("AES encryption failed");
    out.resize(at + static_cast<size_t>(n));
}

void ObjectCipher::EncryptString(const std::string& plain, std::string& out) {
    Begin(out);
    Update(plain.data(), plain.size(), out);
    Finish(out);
}
