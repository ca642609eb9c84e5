#pragma once
// Passwords must not outlive their use in memory that a core file, a swap page or
// a later allocation could show: buffers that held one are overwritten before they
// are released.

#include <string.h>
#include <string>
#include <vector>

inline void WipeSecret(std::string& secret) {
    // explicit_bzero: a plain memset before release may be optimised away.
    if (!secret.empty())
        ::explicit_bzero(&secret[0], secret.size());
    secret.clear();
}

// Wipes a local password on every way out of its scope.
class WipeOnExit {
public:
    explicit WipeOnExit(std::string& secret) : m_secret(secret) {}
    ~WipeOnExit() { WipeSecret(m_secret); }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

private:
    std::string& m_secret;
};

inline void WipeSecret(std::vector<std::string>& message) {
    for (std::string& field : message)
        WipeSecret(field);
    message.clear();
}
