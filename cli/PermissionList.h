#pragma once
// The words of --level and --allow, shared by the command line and the password table.

#include "batch/EncryptOptions.h"

#include <string>

class PermissionList {
public:
    // rc4-40, rc4-128, aes128, aes256 -> 0 to 3.
    static bool Level(const std::string& name, int& level);
    // Applies a comma-separated --allow list at level; "" or why it cannot be applied.
    static std::string Apply(const std::string& list, int level, EncryptOptions& options);
};
