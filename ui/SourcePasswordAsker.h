#pragma once
// The passwords of the encrypted files of one addition (a dialog, a drop, the
// command line, a hand-over): "Password Required" for each, through the dialog
// seam, until the user skips them all. Each answer is checked by the engine at
// once; a wrong one is asked for again, with the reason.

#include "batch/SecretText.h"

#include <wx/string.h>

#include <cstdint>
#include <memory>

class wxWindow;

class SourcePasswordAsker {
public:
    enum class Outcome {
        Unlocked,  // secret and pages are set: a run may write the file anew
        Skipped,   // by Skip, or by Skip All now or earlier in this addition
        Unreadable // the file cannot be opened at all: refuse it as damaged
    };

    explicit SourcePasswordAsker(wxWindow* parent) : m_parent(parent) {}

    // shownName: the file's name as the list shows it.
    Outcome Ask(const wxString& path, const wxString& shownName,
                std::shared_ptr<const SecretText>& secret, int32_t& pages);

private:
    wxWindow* m_parent;
    bool m_skipAll = false;
};
