#include "batch/StartChecks.h"

wxString CheckPasswords(const RunOptions& run) {
    const EncryptOptions& o = run.options;
    if (run.userPasswordEnabled && o.userPassword.empty())
        return "No user password provided.";
    if (run.ownerPasswordEnabled && o.ownerPassword.empty())
        return "No owner password provided.";
    if ((o.userPassword.empty() && o.ownerPassword.empty()) ||
        (!run.userPasswordEnabled && !run.ownerPasswordEnabled))
        return "Please provide password to encrypt pdf file(s).";
    if (o.userPassword == o.ownerPassword)
        return "The User and Owner Passwords cannot be the same.";
    return wxString();
}
