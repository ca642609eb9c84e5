#pragma once
// The window's run: the batch loop with one job, reporting through the window's
// events. Installed as the job hook; called on the worker thread only.

#include "batch/JobInput.h"

void RunEncryptionJob(const JobInput& input);
