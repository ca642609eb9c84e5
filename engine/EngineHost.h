#pragma once
// One running pdfzerovovor-engine process as the library sees it: start, ask,
// and kill when it misbehaves.

#include "engine/api/HostChannel.h"
#include "engine/api/HostProtocol.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <sys/types.h>

class EngineHost {
public:
    enum class Outcome {
        Replied,  // `reply` holds the final answer
        Died,     // the host crashed, ran out of memory or broke the protocol
        TimedOut, // killed after the time limit
        Stopped   // killed because onTick asked to stop
    };

    // Starts the program and waits for its hello; null when it cannot be started
    // or does not speak our protocol version.
    static std::unique_ptr<EngineHost> Start(const std::string& program, unsigned long memoryMb,
                                             unsigned long stackMb);
    ~EngineHost();
    EngineHost(const EngineHost&) = delete;
    EngineHost& operator=(const EngineHost&) = delete;

    // Sends request, with copies of `descriptors` beside it, and waits for the
    // reply of kind replyKind; the caller decodes it (and kills the host when it
    // does not decode). A reply never carries descriptors. Well-formed progress
    // messages go to onProgress; any other message is a broken host. onTick is
    // asked about every tickMs whether to go on (false stops). After any outcome
    // but Replied the host is dead.
    Outcome Call(const HostChannel::Message& request, const std::vector<int>& descriptors,
                 HostProtocol::Kind replyKind, int64_t timeLimitMs, HostChannel::Message& reply,
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
