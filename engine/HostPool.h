#pragma once
// Idle engine hosts kept for reuse: starting a process per file would eat the
// speed we run hosts for. A caller takes one host for one operation and gives it
// back; concurrent callers get hosts of their own. A thread gets back the host it
// used last when that one is idle, so the probe and the encryption of a file meet
// the document the host still holds open.

#include "engine/EngineHost.h"

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class HostPool {
public:
    static HostPool& Get();

    // Null when no host can be started.
    std::unique_ptr<EngineHost> Acquire();
    // Keeps a live host for the next caller; a dead one is dropped.
    void Release(std::unique_ptr<EngineHost> host);
    // Ends every idle host (settings changed, tests).
    void Clear();
    // Process ids of the hosts at work / waiting for work.
    std::vector<int> BusyPids();
    std::vector<int> IdlePids();

private:
    HostPool() = default;

    struct Idle {
        std::unique_ptr<EngineHost> host;
        std::thread::id lastUser;
    };
    std::mutex m_mutex;
    std::vector<Idle> m_idle;
    std::vector<EngineHost*> m_busy;
};
