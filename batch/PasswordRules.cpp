#include "batch/PasswordRules.h"

#include "engine/api/EngineService.h"
#include "engine/api/PasswordEncoding.h"
#include "engine/api/WipeSecret.h"

#include <wx/translation.h>

#include <string>

wxString PasswordRules::Check(const wxString& password, int level) {
    std::string utf8 = password.utf8_string();
    const PasswordEncoding::Problem problem = PasswordEncoding::Check(level, utf8);
    WipeSecret(utf8);
    switch (problem) {
    case PasswordEncoding::Problem::None:
        return wxString();
    case PasswordEncoding::Problem::NotText:
        return _("Passwords must be UTF-8 text.");
    case PasswordEncoding::Problem::NotPdfDoc:
        return _("Passwords for this encryption level must use Latin letters, digits and "
                 "common symbols only; choose AES-256 for other characters.");
    case PasswordEncoding::Problem::TooLong:
        return level == PDFMS_LEVEL_AES_256
                   ? _("Passwords can be at most 127 bytes long.")
                   : _("Passwords for this encryption level can be at most 32 characters "
                       "long.");
    case PasswordEncoding::Problem::Prohibited:
        return _("Passwords for AES-256 cannot hold control characters (such as tab, line "
                 "breaks or DEL), direction marks or other characters SASLprep forbids.");
    case PasswordEncoding::Problem::MixedDirections:
        return _("Passwords for AES-256 cannot mix right-to-left and left-to-right text "
                 "(SASLprep forbids it).");
    }
    return wxString();
}
