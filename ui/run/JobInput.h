#pragma once
// Everything a run needs, copied on the GUI thread when it starts, so the worker
// never reads a window or the grid.

#include "batch/BatchItem.h"
#include "batch/EncryptOptions.h"
#include "ui/run/JobEventSink.h"
#include "ui/run/RunProgress.h"
#include "ui/WindowIds.h"

#include <wx/string.h>

#include <cstdint>
#include <memory>
#include <vector>

using JobRow = BatchItem;

struct JobInput {
    std::vector<JobRow> rows;
    RunOptions run;
    wxString outputDir;
    int32_t statusColumn = STATUS_COLUMN;
    std::shared_ptr<JobEventSink> sink;
    // Counted as the run goes, for the window's run-wide progress; may be null.
    std::shared_ptr<RunProgress> progress;
};
