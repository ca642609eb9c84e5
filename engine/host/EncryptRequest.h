#pragma once
// One encryption job as the engine host receives it: the files as descriptors the
// caller holds (the worker reads and writes through them and never closes them),
// passwords in UTF-8, the level and permissions as the library's PDFMS_* values.

#include <cstdint>
#include <string>

struct EncryptRequest {
    int source = -1; // read-only
    int temp = -1;   // made by the library, written here, renamed or removed by the library
    int32_t level = 2;
    std::string user;
    std::string owner;
    int32_t printing = 0;
    bool copy = false, modify = false, annotate = false, forms = false;
    bool accessibility = false, assemble = false;
    std::string sourcePassword; // opens an encrypted source; "" for none
    bool decrypt = false;       // write without encryption
};
