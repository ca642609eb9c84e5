#pragma once
// Everything a run needs, copied on the GUI thread when it starts, so the worker
// never reads a window or the grid.

#include "batch/EncryptOptions.h"
#include "batch/JobEventSink.h"
#include "batch/JobEvents.h"

#include <wx/string.h>

#include <cstdint>
#include <memory>
#include <vector>

struct JobRow {
    int32_t index = 0; // the grid row; every event about this file names it
    wxString path;     // the "File Path" cell
    wxString fileName; // the "File Name" cell
    bool done = false; // encrypted by an earlier run: skipped
};

struct JobInput {
    std::vector<JobRow> rows;
    RunOptions run;
    wxString outputDir;
    int32_t statusColumn = JobIds::kStatusColumn;
    std::shared_ptr<JobEventSink> sink;
};
