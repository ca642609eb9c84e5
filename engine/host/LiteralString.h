#pragma once
// Writes bytes as a PDF literal string. Encrypted bytes look random, so this is
// about half the size of the hexadecimal form: only the backslash, both
// parentheses and CR take an escape. A bare CR, or CR LF, would read back as LF;
// unbalanced parentheses would end the string early or swallow what follows.

#include <cstddef>
#include <string>

class LiteralString {
public:
    // Appends "(" + the escaped bytes + ")" to `out`.
    static void Append(std::string& out, const char* data, size_t size);
};
