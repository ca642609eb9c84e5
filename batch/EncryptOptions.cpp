#include "batch/EncryptOptions.h"

namespace {
void Wipe(wxString& text) {
    for (wxString::iterator it = text.begin(); it != text.end(); ++it)
        *it = wxUniChar(0);
    text.clear();
}
} // namespace

EncryptOptions::~EncryptOptions() {
    Wipe(userPassword);
    Wipe(ownerPassword);
}

RunOptions::~RunOptions() {
    Wipe(sourcePassword);
}
