#pragma once
// Encrypts the strings and stream data of one object at a time with that
// object's key. AES runs through OpenSSL's libcrypto (whole buffers per call, with
// AES-NI); RC4 through qpdf's crypto provider, because OpenSSL 3 keeps RC4 only
// in its legacy provider.

#include <cstddef>
#include <memory>
#include <string>

class QPDFCryptoImpl;
struct evp_cipher_ctx_st;

class ObjectCipher {
public:
    // `fileKey` is the document key; revision 6 uses it for every object, earlier
    // revisions derive a key per object from it.
    ObjectCipher(const std::string& fileKey, int V, int R, bool aes);
    ~ObjectCipher();
    ObjectCipher(const ObjectCipher&) = delete;
    ObjectCipher& operator=(const ObjectCipher&) = delete;

    // Selects the key of object num/gen for what follows.
    void SetObject(int num, int gen);

    // Appends the encrypted form of `plain` to `out`.
    void EncryptString(const std::string& plain, std::string& out);

    // Stream data in pieces: Begin, Update any number of times, Finish. Each call
    // appends its output to `out`.
    void Begin(std::string& out);
    void Update(const char* data, size_t len, std::string& out);
    void Finish(std::string& out);

    // Stream data read back, in pieces: BeginDecrypt (at AES with the 16-byte
    // initialisation vector the data starts with), DecryptUpdate any number of
    // times, FinishDecrypt. `out` has room for `len` + 16 bytes; `produced` says
    // how many were written. False when the data does not decrypt (AES padding).
    void BeginDecrypt(const unsigned char* iv);
    bool DecryptUpdate(const unsigned char* in, size_t len, unsigned char* out, size_t& produced);
    bool FinishDecrypt(unsigned char* out, size_t& produced);

    // Size of `plain` bytes once encrypted: AES adds a 16-byte IV and 1 to 16
    // bytes of padding.
    size_t EncryptedSize(size_t plain) const;

private:
    void RandomIv(unsigned char* iv);
    // Sets the current object's key (and at AES `iv`) for encrypting (1) or
    // decrypting (0).
    void Start(const unsigned char* iv, int encrypt);

    std::string m_fileKey;
    int m_V, m_R;
    bool m_aes;
    std::string m_key; // of the current object
    evp_cipher_ctx_st* m_ctx = nullptr;
    bool m_cipherSet = false; // m_ctx knows the cipher; only key and IV change
    std::shared_ptr<QPDFCryptoImpl> m_rc4;
    std::string m_random; // IVs are taken from here, refilled in blocks
    size_t m_randomUsed = 0;
};
