#pragma once

#include <cstdio>

// Opens a file from a UTF-8 path with an fopen mode; null when it cannot be opened.
FILE* Utf8Fopen(const char* utf8Path, const char* mode);
