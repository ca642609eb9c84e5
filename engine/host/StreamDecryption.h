#pragma once
// Reads encrypted stream data back from a written file and tells whether it
// decrypts to given plain bytes, a piece at a time, so memory stays flat. AES
// runs through OpenSSL on whole pieces: qpdf's own stream decryption calls its
// provider once per 16-byte block, several times slower on object streams.

#include "engine/host/ObjectCipher.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class SourceWindow;

class StreamDecryption {
public:
    // `fileKey` is the document key as a reader derived it from the password.
    StreamDecryption(const std::string& fileKey, int V, int R, bool aes);

    // Whether the `length` bytes at `offset` of `file`, the data of object
    // num/gen, decrypt to exactly `plain`.
    bool DecryptsTo(SourceWindow& file, uint64_t offset, uint64_t length, int num, int gen,
                    const char* plain, size_t plainLength);

private:
    ObjectCipher m_cipher;
    bool m_aes;
    std::vector<unsigned char> m_out;
};
