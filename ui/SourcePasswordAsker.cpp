#include "ui/SourcePasswordAsker.h"

#include "batch/SourcePasswordCheck.h"
#include "core/DialogSeam.h"
#include "engine/api/EngineService.h"
#include "engine/api/WipeSecret.h"

#include <wx/intl.h>
#include <wx/cursor.h>
#include <wx/utils.h>

SourcePasswordAsker::Outcome SourcePasswordAsker::Ask(const wxString& path,
                                                      const wxString& shownName,
                                                      std::shared_ptr<const SecretText>& secret,
                                                      int32_t& pages) {
    if (m_skipAll)
        return Outcome::Skipped;
    // The list shows a busy pointer while it opens files; not over a question.
    wxBusyCursorSuspender normalPointer;
    wxString problem;
    for (;;) {
        std::string password;
        WipeOnExit wipe(password);
        switch (DialogSeam::Get().AskPassword(m_parent, shownName, problem, password)) {
        case PasswordReply::SkipAll:
            m_skipAll = true;
            return Outcome::Skipped;
        case PasswordReply::Skip:
            return Outcome::Skipped;
        case PasswordReply::Ok:
            break;
        }
        if (password.empty()) {
            problem = _("Please type the password.");
            continue;
        }
        SourcePasswordCheck check;
        {
            wxBusyCursor opening;
            check = CheckSourcePassword(path, password);
        }
        switch (check.code) {
        case PDFMS_OK:
            secret = std::make_shared<const SecretText>(password);
            pages = check.pages;
            return Outcome::Unlocked;
        case PDFMS_ERR_SOURCE_PASSWORD:
            problem = _("The password is wrong. Please try again.");
            break;
        case PDFMS_ERR_SOURCE_RESTRICTED:
            // The command line's rule: whoever has only the open password may not
            // lift the owner's restrictions.
            problem = _("That only opens the file, which restricts changes: its owner "
                        "password is needed.");
            break;
        default:
            return Outcome::Unreadable;
        }
    }
}
