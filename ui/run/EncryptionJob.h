#pragma once
// The window's run: the batch loop with one job, reporting through the window's
// events. The file list hands it to the worker thread; called there only.

#include "ui/run/JobInput.h"

void RunEncryptionJob(const JobInput& input);
