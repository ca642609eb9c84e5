#include "batch/RunSources.h"

#include "core/PathText.h"

#include <sys/stat.h>

namespace {
bool Identity(const wxString& path, std::pair<uint64_t, uint64_t>& id) {
    struct stat st;
    if (::lstat(PathText::ToBytes(path).c_str(), &st) != 0)
        return false;
    id = {st.st_dev, st.st_ino};
    return true;
}
} // namespace

void RunSources::Add(const wxString& path) {
    std::pair<uint64_t, uint64_t> id;
    if (Identity(path, id))
        m_ids.insert(id);
}

void RunSources::AddReport(const wxString& path) {
    std::pair<uint64_t, uint64_t> id;
    if (Identity(path, id))
        m_reports.insert(id);
}

bool RunSources::Contains(uint64_t device, uint64_t inode) const {
    return m_ids.count({device, inode}) != 0 || m_reports.count({device, inode}) != 0;
}

bool RunSources::Contains(const wxString& path) const {
    std::pair<uint64_t, uint64_t> id;
    return Identity(path, id) && m_ids.count(id) != 0;
}

bool RunSources::IsReport(const wxString& path) const {
    std::pair<uint64_t, uint64_t> id;
    return Identity(path, id) && m_reports.count(id) != 0;
}
