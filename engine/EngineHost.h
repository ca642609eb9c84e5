#pragma once
// One running pdfzerovovor-engine process as the library sees it: start, ask,
// and kill when it misbehaves.

#include "engine/HostChannel.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>

class EngineHost {
public:
    enum class Outcome {
        Replied,  // `reply` holds the final answer
        Died,     // the host crashed, ran out of memory or broke the protocol
        TimedOut, // killed after the time limit
        Stopped   // killed because onTick asked to stop
    };

    // Starts the program; null when it cannot be started.
    static std::unique_ptr<EngineHost> Start(const std::string& program, unsigned long memoryMb,
                                             unsigned long stackMb);
    ~EngineHost();
    EngineHost(const EngineHost&) = delete;
    EngineHost& operator=(const EngineHost&) = delete;

    // Sends request and waits for the reply whose first field is replyName.
    // "progress" messages go to onProgress; onTick is asked about every tickMs
    // whether to go on (false stops). After any outcome but Replied the host is dead.
    Outcome Call(const HostChannel::Message& request, const std::string& replyName,
                 double timeLimitSeconds, HostChannel::Message& reply,
                 const std::function<void(int)>& onProgress = nullptr,
                 const std::function<bool()>& onTick = nullptr, int tickMs = 100);

    bool alive() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    void Kill();

private:
    EngineHost(pid_t pid, int fd) : m_pid(pid), m_channel(fd) {}

    std::atomic<pid_t> m_pid; // read by the pool from other threads
    HostChannel m_channel;
};
