#pragma once
// The identities (device and inode) of every source of a run, and of the report it
// writes: no output of the run may ever replace one of them, whatever its name.

#include <wx/string.h>

#include <cstdint>
#include <set>
#include <utility>

class RunSources {
public:
    // Filled before the run's workers start; read-only afterwards.
    void Add(const wxString& path);
    // A file the run writes besides its outputs (the password report).
    void AddReport(const wxString& path);
    // A source or the report.
    bool Contains(uint64_t device, uint64_t inode) const;
    // The file at path (links not followed) is a source.
    bool Contains(const wxString& path) const;
    // The file at path (links not followed) is the report.
    bool IsReport(const wxString& path) const;

private:
    std::set<std::pair<uint64_t, uint64_t>> m_ids;
    std::set<std::pair<uint64_t, uint64_t>> m_reports;
};
