#pragma once
// The fallback writer: qpdf's own QPDFWriter, for sources that needed repair or
// that the one-pass writer does not take. Stream data is copied as it is (no
// decoding, no recompression), object streams are kept, no linearization.

#include "engine/host/EncryptRequest.h"

#include <cstdint>
#include <functional>

class QPDF;

class QpdfEncryptWriter {
public:
    // Writes `pdf` encrypted as asked (or, to decrypt, without encryption) into the
    // open file `fd` (taken over) and flushes it. `user`/`owner` are the passwords already encoded
    // for the level. Returns a PDFMS_* code.
    static int32_t Write(QPDF& pdf, const EncryptRequest& request, const std::string& user,
                         const std::string& owner, int fd,
                         const std::function<void(int)>& progress);
};
