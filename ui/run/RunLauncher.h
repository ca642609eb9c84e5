#pragma once
// The start of a run, on the GUI thread, after the list's own checks have passed:
// job-started to the top window, state running, then the worker thread that runs
// the job. At its end the worker sets the state to ended and queues
// job-finished (payload 0) to the top window, exactly once.

#include "ui/run/JobInput.h"

#include <memory>

// What the worker thread runs with the run's input.
typedef void (*JobRunner)(const JobInput& input);

// Takes the run's input. The caller refreshes the start panel after it returns.
// False when the worker could not be started: the run has then already ended
// (state ended, job-finished queued, a log record written).
bool LaunchRun(std::unique_ptr<JobInput> input, JobRunner job);
