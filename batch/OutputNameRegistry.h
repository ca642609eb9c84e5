#pragma once
// The output names of a run: two different sources with the same file name would
// silently replace each other's result, so a name belongs to the first source that
// claims it. The same source listed twice may claim its own name again.

#include <wx/string.h>

#include <map>
#include <mutex>

class OutputNameRegistry {
public:
    // True when output is free or already this source's.
    bool Claim(const wxString& output, const wxString& source);
    // Gives the name back after a failure, so a later file of that name may write it.
    void Release(const wxString& output, const wxString& source);

private:
    std::mutex m_mutex;
    std::map<wxString, wxString> m_owners; // output -> source
};
