#pragma once
// The checks made before a file goes to the engine host: only a regular file that
// starts like a PDF goes further. Nothing here ever blocks on a FIFO or device.
// The host never opens a path: it reads the descriptor opened here.

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
    // regular files. With `held`, a file that passes stays open read-only there
    // (the caller closes it), and `info` describes what that descriptor reads: a
    // link the path names is followed once, before the check; one planted between
    // the check and the open is not, and another file swapped in is refused.
    static int32_t Classify(const std::string& path, PathInfo& info, int* held = nullptr);
    // stat (links followed) says it is a regular file.
    static bool IsRegularFile(const std::string& path, PathInfo* info = nullptr);
};
