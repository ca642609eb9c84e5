#pragma once
// The state of the batch run, shared by the GUI thread and the worker without a lock.

#include "batch/StopToken.h"

#include <atomic>
#include <cstdint>

enum RunStateValue : int32_t {
    RUN_IDLE = 0,
    RUN_RUNNING = 1,
    RUN_STOP_REQUESTED = 2,
    RUN_ENDED = 3
};

// Written by the start sequence (running), the stop button (stop requested) and the
// worker's last act (ended).
extern std::atomic<int32_t> g_runState;
// Set by the main window when the user closes the window during a run; never cleared.
extern std::atomic<bool> g_stopRequested;

// The stop button: running becomes stop requested; any other state stays as it is.
// True when the state changed.
bool RequestRunStop();

// True while a worker may still be working (running or stop requested).
bool IsRunActive();

// For shutdown: waits until no run is active, at most timeoutMs. True when the
// worker finished in time.
bool WaitForRunEnd(int timeoutMs = 5000);

// The window's stop token: the stop button (state stop requested) asks to stop,
// closing the program (the stop request flag) to abandon the run.
class RunStateStopToken : public StopToken {
public:
    Kind Get() const override;
};
