#pragma once
// The password checks made before a run, shared by the window and the command line.

#include "batch/EncryptOptions.h"

// The first failing check's message, in the order the user sees them, or an empty
// text when a run may start.
wxString CheckPasswords(const RunOptions& run);
