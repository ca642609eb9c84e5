#pragma once
// One encryption job as the engine host receives it: passwords in UTF-8, the
// level and permissions as the library's PDFMS_* values.

#include <cstdint>
#include <string>

struct EncryptRequest {
    std::string source;
    std::string temp; // created here, left for the caller to rename or remove
    int32_t level = 2;
    std::string user;
    std::string owner;
    int32_t printing = 0;
    bool copy = false, modify = false, annotate = false, forms = false;
    bool accessibility = false, assemble = false;
};
