#pragma once
// A password kept for later use (an encrypted source's, until its row leaves the
// list): UTF-8 bytes in one buffer that is overwritten when the holder goes away.
// Shared by pointer, never copied, so no stray copy of the bytes is left behind.

#include <string>

class SecretText {
public:
    // Copies utf8; the caller wipes its own buffer.
    explicit SecretText(const std::string& utf8);
    ~SecretText();
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;

    const std::string& utf8() const { return m_utf8; }

private:
    std::string m_utf8;
};
