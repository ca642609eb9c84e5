#include "update/UpdateResultRelay.h"

#include <atomic>
#include <mutex>

namespace {
// Never destroyed: a check still running while the process exits may reach the
// relay after static destructors have run.
struct RelayState {
    std::mutex mutex;
    UpdateResultRelay::Sink sink;
    std::atomic<unsigned long> generation{0};
};

RelayState& State() {
    static RelayState* state = new RelayState;
    return *state;
}
} // namespace

void UpdateResultRelay::Attach(Sink sink) {
    RelayState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.sink = std::move(sink);
}

void UpdateResultRelay::Detach() {
    RelayState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.sink = nullptr;
    ++state.generation;
}

bool UpdateResultRelay::Deliver(const wxString& version) {
    RelayState& state = State();
    // Hand over under the lock: Detach cannot complete, and the window cannot
    // go, between the look at the sink and the queueing.
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.sink)
        return false;
    state.sink(version);
    return true;
}

unsigned long UpdateResultRelay::GetGeneration() {
    return State().generation.load();
}
