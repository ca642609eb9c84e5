#include "engine/HostPool.h"

#include "engine/PdfEngine.h"

#include <algorithm>

HostLease::HostLease(HostPool* pool, std::unique_ptr<EngineHost> host)
    : m_pool(pool), m_host(std::move(host)) {}

HostLease::HostLease(HostLease&& other) noexcept
    : m_pool(other.m_pool), m_host(std::move(other.m_host)) {
    other.m_pool = nullptr;
}

HostLease& HostLease::operator=(HostLease&& other) noexcept {
    if (this != &other) {
        Return();
        m_pool = other.m_pool;
        m_host = std::move(other.m_host);
        other.m_pool = nullptr;
    }
    return *this;
}

HostLease::~HostLease() {
    Return();
}

void HostLease::Return() {
    if (m_pool && m_host)
        m_pool->Release(std::move(m_host));
    m_host.reset();
    m_pool = nullptr;
}

HostPool& HostPool::Get() {
    static HostPool pool;
    return pool;
}

HostLease HostPool::Acquire() {
    std::unique_ptr<EngineHost> host;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_idle.empty()) {
            size_t pick = m_idle.size() - 1;
            for (size_t i = 0; i < m_idle.size(); ++i) {
                if (m_idle[i].lastUser == std::this_thread::get_id())
                    pick = i;
            }
            host = std::move(m_idle[pick].host);
            m_idle.erase(m_idle.begin() + static_cast<long>(pick));
        }
    }
    if (!host) {
        const HostLimits limits = PdfEngine::GetHostLimits();
        host = EngineHost::Start(PdfEngine::GetHostProgram(), PdfEngine::HostMemoryMb(),
                                 limits.stackMb);
        if (!host)
            return HostLease();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_busy.push_back(host.get());
    m_maxIdle = std::max(m_maxIdle, m_busy.size());
    return HostLease(this, std::move(host));
}

void HostPool::Release(std::unique_ptr<EngineHost> host) {
    if (!host)
        return;
    std::unique_ptr<EngineHost> surplus; // ended outside the lock
    std::lock_guard<std::mutex> lock(m_mutex);
    m_busy.erase(std::remove(m_busy.begin(), m_busy.end(), host.get()), m_busy.end());
    if (host->alive() && m_idle.size() < m_maxIdle)
        m_idle.push_back(Idle{std::move(host), std::this_thread::get_id()});
    else
        surplus = std::move(host);
}

void HostPool::Clear() {
    std::vector<Idle> idle;
    std::lock_guard<std::mutex> lock(m_mutex);
    idle.swap(m_idle);
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
