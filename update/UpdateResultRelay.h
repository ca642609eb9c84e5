#pragma once
// Carries the outcome of an update check from its worker thread to whoever shows
// it. The GUI attaches a sink (update/UpdateResultEvent.h turns it into an event
// for the main window) and detaches it before that window is destroyed; shutdown
// detaches in any case. A result that arrives while nothing is attached is
// dropped, so a check still running at exit never reaches a destroyed window.
// Detaching also asks running downloads to stop, so they do not hold anything up.

#include <wx/string.h>

#include <functional>

class UpdateResultRelay {
public:
    // Called with the latest version, or empty for every kind of failure, on the
    // checking thread and under the relay's lock: it must only queue.
    using Sink = std::function<void(const wxString& version)>;

    // Results go to sink from now on (replaces an earlier one). Any thread.
    static void Attach(Sink sink);
    // Results are dropped from now on; running checks are asked to stop.
    static void Detach();
    // Hands the result to the attached sink; false when it was dropped. Any thread.
    static bool Deliver(const wxString& version);

    // A number that changes at every Detach; a check compares the value it
    // started with to learn that its result is no longer wanted.
    static unsigned long GetGeneration();
};
