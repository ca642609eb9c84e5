#pragma once
// One file of a run, as the front end lists it; copied when the run starts, so a
// running batch never reads a window.

#include "batch/EncryptOptions.h"

#include <wx/string.h>

#include <cstdint>
#include <memory>
#include <utility>

struct BatchItem {
    int32_t index = 0; // the front end's own number for it (the grid row); every report names it
    wxString path;     // the source file
    wxString fileName; // the name the output is made from
    bool done = false; // encrypted by an earlier run: skipped
    // Below the output folder, where the file's output goes ("" for the folder itself).
    wxString outputSubfolder;
    // The file's own passwords and settings; null for the run's.
    std::shared_ptr<const RunOptions> options;
    // The output an earlier run wrote from this same file, out of date since the file
    // changed (device, inode; 0, 0 for none): the new output may replace it whatever
    // the overwrite policy says.
    std::pair<uint64_t, uint64_t> earlierOutput{0, 0};
};
