#include "ui/run/RunState.h"

#include <chrono>
#include <thread>

std::atomic<int32_t> g_runState{RUN_IDLE};
std::atomic<bool> g_stopRequested{false};

bool RequestRunStop() {
    int32_t expected = RUN_RUNNING;
    return g_runState.compare_exchange_strong(expected, RUN_STOP_REQUESTED);
}

bool IsRunActive() {
    const int32_t state = g_runState.load();
    return state == RUN_RUNNING || state == RUN_STOP_REQUESTED;
}

bool WaitForRunEnd(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (IsRunActive()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

StopToken::Kind RunStateStopToken::Get() const {
    if (g_stopRequested)
        return Abandon;
    if (g_runState == RUN_STOP_REQUESTED)
        return Stop;
    return StopToken::Get();
}
