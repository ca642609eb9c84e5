#include "cli/PasswordGenerator.h"

#include <sys/random.h>

namespace {
const char kAlphabet[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
constexpr unsigned kAlphabetSize = sizeof kAlphabet - 1;
} // namespace

bool PasswordGenerator::Make(std::string& password) {
    password.clear();
    while (password.size() < kLength) {
        unsigned char bytes[64];
        if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
            return false;
        for (unsigned char b : bytes) {
            // Rejection keeps every character equally likely.
            if (b < 256 / kAlphabetSize * kAlphabetSize && password.size() < kLength)
                password += kAlphabet[b % kAlphabetSize];
        }
    }
    return true;
}
