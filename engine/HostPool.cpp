#include "engine/HostPool.h"

#include "engine/PdfEngine.h"

#include <algorithm>

namespace {
// More idle hosts than cores only hold memory.
constexpr size_t kMaxIdle = 8;
} // namespace

HostPool& HostPool::Get() {
    static HostPool pool;
    return pool;
}

std::unique_ptr<EngineHost> HostPool::Acquire() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_idle.empty()) {
            size_t pick = m_idle.size() - 1;
            for (size_t i = 0; i < m_idle.size(); ++i) {
                if (m_idle[i].lastUser == std::this_thread::get_id())
                    pick = i;
            }
            std::unique_ptr<EngineHost> host = std::move(m_idle[pick].host);
            m_idle.erase(m_idle.begin() + static_cast<long>(pick));
            m_busy.push_back(host.get());
            return host;
        }
    }
    HostLimits limits = PdfEngine::GetHostLimits();
    std::unique_ptr<EngineHost> host =
        EngineHost::Start(PdfEngine::GetHostProgram(), limits.memoryMb, limits.stackMb);
    if (host) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_busy.push_back(host.get());
    }
    return host;
}

void HostPool::Release(std::unique_ptr<EngineHost> host) {
    if (!host)
        return;
    std::unique_ptr<EngineHost> surplus;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_busy.erase(std::remove(m_busy.begin(), m_busy.end(), host.get()), m_busy.end());
        if (!host->alive())
            surplus = std::move(host);
        else if (m_idle.size() < kMaxIdle)
            m_idle.push_back(Idle{std::move(host), std::this_thread::get_id()});
        else
            surplus = std::move(host);
    }
}

void HostPool::Clear() {
    std::vector<Idle> idle;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        idle.swap(m_idle);
    }
}

std::vector<int> HostPool::BusyPids() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<int> pids;
    for (EngineHost* h : m_busy) {
        if (h->pid() > 0)
            pids.push_back(static_cast<int>(h->pid()));
    }
    return pids;
}

std::vector<int> HostPool::IdlePids() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<int> pids;
    for (const auto& i : m_idle)
        pids.push_back(static_cast<int>(i.host->pid()));
    return pids;
}
