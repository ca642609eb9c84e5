#include "batch/StartChecks.h"

#include "batch/PasswordRules.h"

#include <wx/translation.h>

wxString CheckPasswords(const RunOptions& run) {
    const EncryptOptions& o = run.options;
    if (run.userPasswordEnabled && o.userPassword.empty())
        return _("No user password provided.");
    if (run.ownerPasswordEnabled && o.ownerPassword.empty())
        return _("No owner password provided.");
    if ((o.userPassword.empty() && o.ownerPassword.empty()) ||
        (!run.userPasswordEnabled && !run.ownerPasswordEnabled))
        return _("Please provide password to encrypt pdf file(s).");
    const wxString user = run.userPasswordEnabled ? o.userPassword : wxString();
    const wxString owner = run.ownerPasswordEnabled ? o.ownerPassword : wxString();
    for (const wxString& password : {user, owner}) {
        const wxString refusal = PasswordRules::Check(password, o.EncryptionLevel);
        if (!refusal.empty())
            return refusal;
    }
    // Within those lengths the standard reads every byte, so passwords that differ
    // as texts also open the file differently.
    if (o.userPassword == o.ownerPassword)
        return _("The User and Owner Passwords cannot be the same.");
    return wxString();
}
