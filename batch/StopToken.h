#pragma once
// How a front end asks a run to stop. Any thread, and a signal handler, may raise
// it; the run reads it between files and inside the engine's progress callback.

#include <atomic>

class StopToken {
public:
    enum Kind {
        None = 0,
        Stop = 1,   // finish nothing more; the next file shows it was stopped
        Abandon = 2 // the program is closing: end at once and report nothing more
    };

    virtual ~StopToken() = default;

    // Raises the request; a lower kind never replaces a higher one.
    void Request(Kind kind);
    virtual Kind Get() const;

private:
    std::atomic<int> m_kind{None};
    static_assert(std::atomic<int>::is_always_lock_free, "raised from signal handlers");
};
