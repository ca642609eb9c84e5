#pragma once
// Runs the event loop until a condition holds, instead of sleeping: queued events,
// timers and idle handlers get their turn while the test waits.

#include <functional>

// Pumps events until condition() is true or timeoutMs passes; returns the last
// value of condition().
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 3000);

// Delivers every event already queued (and the idle events they cause), without
// waiting for new ones.
void PumpEvents();
