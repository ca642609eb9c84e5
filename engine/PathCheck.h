#pragma once
// The checks made before anything hands a path to qpdf: only a regular file that
// starts like a PDF goes further. Nothing here ever blocks on a FIFO or device.

#include <cstdint>
#include <string>
#include <sys/types.h>

struct PathInfo {
    dev_t dev = 0;
    ino_t ino = 0;
    int64_t size = 0;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;
    unsigned mode = 0; // permission bits
};

class PathCheck {
public:
    // PDFMS_OPEN_NOT_FILE, PDFMS_OPEN_NOT_PDF, or -1 when the file is a readable
    // regular file with "%PDF-" in its first 1024 bytes. `info` is filled for
    // regular files.
    static int32_t Classify(const std::string& path, PathInfo& info);
    // stat (links followed) says it is a regular file.
    static bool IsRegularFile(const std::string& path, PathInfo* info = nullptr);
};
