#pragma once
// One run: encrypts the input's rows one after another on the worker thread, logs
// every step and reports every result to the windows through the sink.

#include "batch/JobInput.h"
#include "engine/api/PdfMSService.h"

#include <cstdint>

// Logged for a file whose output name an earlier file of the same run (another
// source with the same name) has already written: writing it would silently
// replace that file's result, so this one fails instead.
constexpr int32_t kJobOutputNameTaken = -2;

// Worker thread only. Installed as the job hook.
void RunEncryptionJob(const JobInput& input);

// What the progress callback needs; its user data.
struct JobProgressContext {
    JobEventSink* sink = nullptr;
    int32_t row = 0;
    int32_t column = JobIds::kStatusColumn;
    int32_t lastPercent = -1; // repeated percentages are not sent again
};

// The engine's progress callback: a progress cell command with done*100/total for
// the current row (nothing when total <= 0); returns PDFMS_PROGRESS_STOP when the
// run is to stop.
int32_t JobProgressCallback(void* userData, int32_t done, int32_t total);

// done*100/total in 32-bit arithmetic, truncated; false when total <= 0.
bool ProgressPercent(int32_t done, int32_t total, int32_t& percent);
