#pragma once
// Idle engine hosts kept for reuse: starting a process per file would eat the
// speed we run hosts for. A caller leases one host for one operation; the lease
// gives it back when it goes out of scope, whatever happens in between, so the
// pool never holds a pointer to a host that is gone. Concurrent callers get hosts
// of their own. A thread gets back the host it used last when that one is idle,
// so the probe and the encryption of a file meet the document the host still
// holds open.

#include "engine/EngineHost.h"

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class HostPool;

class HostLease {
public:
    HostLease() = default;
    HostLease(HostLease&& other) noexcept;
    HostLease& operator=(HostLease&& other) noexcept;
    HostLease(const HostLease&) = delete;
    HostLease& operator=(const HostLease&) = delete;
    ~HostLease();

    explicit operator bool() const { return m_host != nullptr; }
    EngineHost* operator->() const { return m_host.get(); }
    EngineHost& operator*() const { return *m_host; }

private:
    friend class HostPool;
    HostLease(HostPool* pool, std::unique_ptr<EngineHost> host);
    void Return();

    HostPool* m_pool = nullptr;
    std::unique_ptr<EngineHost> m_host;
};

class HostPool {
public:
    static HostPool& Get();

    // An empty lease when no host can be started.
    HostLease Acquire();
    // Ends every idle host (settings changed, tests).
    void Clear();
    // Process ids of the hosts at work.
    std::vector<int> BusyPids();

private:
    friend class HostLease;
    HostPool() = default;
    // Keeps a live host for the next caller; a dead one is dropped.
    void Release(std::unique_ptr<EngineHost> host);

    struct Idle {
        std::unique_ptr<EngineHost> host;
        std::thread::id lastUser;
    };
    std::mutex m_mutex;
    std::vector<Idle> m_idle;
    std::vector<EngineHost*> m_busy; // owned by live leases, removed by their return
    // Idle hosts kept: as many as were ever busy at once, so -j N keeps N hosts
    // warm without holding more than the work asked for.
    size_t m_maxIdle = 1;
};
