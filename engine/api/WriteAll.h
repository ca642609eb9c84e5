#pragma once
// Writing a whole buffer to a descriptor: write(2) may be interrupted by a signal
// or write only part of what it was given, so every writer goes on until all is
// written or a call fails. Display-free and wx-free, for the engine host as much
// as for the program.

#include <cstddef>

// Writes size bytes of data to fd. Returns how many were written: size, or fewer
// when a write failed (errno says why).
size_t WriteAll(int fd, const void* data, size_t size);
