#include "batch/OutputNameRegistry.h"

bool OutputNameRegistry::Claim(const wxString& output, const wxString& source) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto inserted = m_owners.emplace(output, source);
    return inserted.second || inserted.first->second == source;
}

void OutputNameRegistry::Release(const wxString& output, const wxString& source) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_owners.find(output);
    if (it != m_owners.end() && it->second == source)
        m_owners.erase(it);
}
