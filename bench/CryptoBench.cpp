// pz-crypto-bench: bulk AES-128-CBC and RC4 throughput of OpenSSL's libcrypto
// against qpdf's own crypto provider, on one core. Tells which the one-pass
// writer should use for stream data.

#include <qpdf/QPDFCryptoProvider.hh>

#include <openssl/evp.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr size_t kBytes = 256u << 20;
constexpr size_t kChunk = 1u << 20;

double Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Report(const char* what, double seconds) {
    std::printf("%-36s %8.0f MB/s\n", what, kBytes / 1048576.0 / seconds);
}

} // namespace

int main() {
    std::vector<unsigned char> in(kChunk, 0x5a), out(kChunk + 32);
    unsigned char key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    unsigned char iv[16] = {0};

    auto t0 = std::chrono::steady_clock::now();
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr, key, iv);
    int n = 0;
    for (size_t done = 0; done < kBytes; done += kChunk)
        EVP_EncryptUpdate(ctx, out.data(), &n, in.data(), static_cast<int>(kChunk));
    EVP_CIPHER_CTX_free(ctx);
    Report("OpenSSL EVP AES-128-CBC", Seconds(t0));

    auto impl = QPDFCryptoProvider::getImpl();
    t0 = std::chrono::steady_clock::now();
    impl->rijndael_init(true, key, sizeof key, true, iv);
    for (size_t done = 0; done < kBytes; done += kChunk)
        for (size_t i = 0; i < kChunk; i += 16)
            impl->rijndael_process(in.data() + i, out.data() + i);
    impl->rijndael_finalize();
    Report("qpdf provider AES-128-CBC (16 B calls)", Seconds(t0));

    t0 = std::chrono::steady_clock::now();
    impl->RC4_init(key, sizeof key);
    for (size_t done = 0; done < kBytes; done += kChunk)
        impl->RC4_process(in.data(), kChunk, out.data());
    impl->RC4_finalize();
    Report("qpdf provider RC4", Seconds(t0));
    std::printf("qpdf crypto provider: %s\n", QPDFCryptoProvider::getDefaultProvider().c_str());
    return 0;
}
