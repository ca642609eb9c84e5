#include "WaitFor.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {
void PumpOnce() {
    if (!wxTheApp)
        return;
    wxTheApp->ProcessPendingEvents();
    // Yield creates a temporary loop when the test runs outside the main loop.
    wxTheApp->Yield(true);
    wxTheApp->ProcessIdle();
}
} // namespace

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    wxStopWatch watch;
    while (!condition()) {
        if (watch.Time() >= timeoutMs)
            return condition();
        PumpOnce();
        if (condition())
            return true;
        wxMilliSleep(2);
    }
    return true;
}

void PumpEvents() {
    // Handling one event may queue the next; a few rounds settle the chain.
    for (int i = 0; i < 5; ++i)
        PumpOnce();
}
