#pragma once
// Recent probe answers, so that the open-state, encryption and page-count calls
// for one file cost one parse. An entry counts only while the file's identity,
// size and times are unchanged.

#include "engine/PathCheck.h"

#include <cstdint>
#include <list>
#include <mutex>
#include <string>

struct ProbeResult {
    int32_t openState = 5;
    int32_t encrypted = 0;
    int32_t pageCount = 0;
};

class ProbeCache {
public:
    explicit ProbeCache(size_t capacity) : m_capacity(capacity) {}

    bool Find(const std::string& path, const PathInfo& info, ProbeResult& result);
    void Store(const std::string& path, const PathInfo& info, const ProbeResult& result);
    void Clear();

private:
    struct Entry {
        std::string path;
        PathInfo info;
        ProbeResult result;
    };
    static bool Same(const PathInfo& a, const PathInfo& b);

    size_t m_capacity;
    std::mutex m_mutex;
    std::list<Entry> m_entries; // most recent first
};
