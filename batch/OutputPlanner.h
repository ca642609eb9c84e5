#pragma once
// Where a file of the run is written: the output folder (and the file's own
// subfolder), its name with the suffix, and what happens when that name is taken
// already. The output-name registry keeps two sources of one run from sharing a
// name; the run's sources are never written over.

#include "batch/BatchItem.h"
#include "batch/OutputNameRegistry.h"
#include "batch/RunSources.h"

#include <cstdint>

enum class OverwritePolicy {
    Replace, // an existing output is replaced (the window's way)
    Never,   // an existing output refuses the file
    Rename   // the next free "name_encryption (2).pdf"
};

class OutputPlanner {
public:
    struct Settings {
        wxString folder;
        wxString suffix = "_encryption";
        wxString extension = ".pdf";
        OverwritePolicy overwrite = OverwritePolicy::Replace;
    };

    OutputPlanner(const Settings& settings, const RunSources& sources);

    // The output for source, claimed for it; code 0, or the item code that refuses it
    // (kItemNameTaken, kItemOutputIsSource, kItemOutputIsReport, kItemOutputExists,
    // kItemOutputFolder).
    // `after` skips the names an earlier attempt found taken (rename only).
    struct Choice {
        wxString path;
        int32_t code = 0;
    };
    Choice Pick(const BatchItem& item, const wxString& source, int after = 0);
    void Release(const wxString& output, const wxString& source);

    // What the engine may replace at the last moment for item: never a source, and
    // only where the policy replaces at all or it is the item's own earlier output.
    bool MayReplace(const BatchItem& item, uint64_t device, uint64_t inode) const;
    OverwritePolicy policy() const { return m_settings.overwrite; }

private:
    wxString Name(const BatchItem& item, const wxString& folder, int number) const;

    Settings m_settings;
    const RunSources& m_sources;
    OutputNameRegistry m_names;
};
