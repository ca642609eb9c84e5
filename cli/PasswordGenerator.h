#pragma once
// Random user passwords for --generate-passwords: from the system's random source,
// long enough to resist guessing, and without characters that look alike when a
// password is read out or typed from paper (0/O/o, 1/l/I).

#include <string>

class PasswordGenerator {
public:
    static constexpr size_t kLength = 20; // about 116 bits

    // False when the system's random source cannot be read.
    static bool Make(std::string& password);
};
