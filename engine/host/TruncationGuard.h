#pragma once
// Keeps a read-only file mapping readable when the file is cut short underneath
// it. A read past the new end raises SIGBUS, which would end the process in the
// middle of a file; for a watched mapping the handler maps zeros over the rest
// of it instead and marks it, so the reader runs to its end and the caller can
// report that the source changed. Faults anywhere else end the process as before.

#include <cstddef>

class TruncationGuard {
public:
    // Watches the mapping [base, base + size). False when too many are watched
    // already: a fault in it then ends the process.
    static bool Watch(const void* base, size_t size);
    // Stops watching; call before unmapping.
    static void Forget(const void* base);
    // Whether a read of the watched mapping at `base` went past the file's end.
    static bool CutShort(const void* base);
};
