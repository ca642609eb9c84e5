#include "engine/ProbeCache.h"

bool ProbeCache::Same(const PathInfo& a, const PathInfo& b) {
    return a.dev == b.dev && a.ino == b.ino && a.size == b.size && a.mtimeNs == b.mtimeNs &&
           a.ctimeNs == b.ctimeNs;
}

bool ProbeCache::Find(const std::string& path, const PathInfo& info, ProbeResult& result) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path != path)
            continue;
        if (!Same(it->info, info)) {
            m_entries.erase(it);
            return false;
        }
        result = it->result;
        m_entries.splice(m_entries.begin(), m_entries, it);
        return true;
    }
    return false;
}

void ProbeCache::Store(const std::string& path, const PathInfo& info, const ProbeResult& result) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path == path) {
            m_entries.erase(it);
            break;
        }
    }
    m_entries.push_front(Entry{path, info, result});
    while (m_entries.size() > m_capacity)
        m_entries.pop_back();
}

void ProbeCache::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
}
