#pragma once
// The standard security handler of an output: permission word, O/U (and, for
// AES-256, OE/UE/Perms) values, the document key and the /Encrypt dictionary. The
// values come from qpdf's public functions, so they are what qpdf's own writer
// would compute for the same request.

#include "engine/host/EncryptRequest.h"

#include <cstdint>
#include <string>

class StandardSecurity {
public:
    // Computes everything for `request` and the file identifier `id0`. Returns
    // PDFMS_OK, or PDFMS_ERR_ARGUMENT when a password does not encode for the
    // level (see PasswordEncoding).
    int32_t Setup(const EncryptRequest& request, const std::string& id0);

    // The /P word: bits cleared for what is not allowed. At the AES levels the
    // accessibility bit is always set, as qpdf's writer does and PDF 2.0 asks.
    static int32_t Permissions(const EncryptRequest& request);

    // "<< /Filter /Standard ... >>" with every string in hexadecimal.
    std::string Dictionary() const;

    // `bytes` as a PDF hexadecimal string, "<...>"; also for the /ID the keys
    // are derived from.
    static std::string Hex(const std::string& bytes);

    int V() const { return m_V; }
    int R() const { return m_R; }
    bool aes() const { return m_aes; }
    const std::string& fileKey() const { return m_fileKey; }
    // The lowest PDF version this encryption needs, as major*10 + minor.
    int minVersion() const;

private:
    int m_V = 0, m_R = 0, m_keyBytes = 0;
    bool m_aes = false;
    int32_t m_P = 0;
    std::string m_fileKey, m_O, m_U, m_OE, m_UE, m_Perms;
};
