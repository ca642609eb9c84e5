#include "ui/run/JobEventSink.h"

std::shared_ptr<JobEventSink> JobEventSink::Create() {
    return std::shared_ptr<JobEventSink>(new JobEventSink());
}

void JobEventSink::Attach(Target target, wxEvtHandler* receiver) {
    if (target < 0 || target >= TARGET_COUNT)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receivers[target] = receiver;
}

void JobEventSink::Detach(wxEvtHandler* receiver) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (wxEvtHandler*& held : m_receivers)
        if (held == receiver)
            held = nullptr;
}

bool JobEventSink::IsAttached(Target target) const {
    if (target < 0 || target >= TARGET_COUNT)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_receivers[target] != nullptr;
}

bool JobEventSink::Post(Target target, wxEvent* event) {
    if (!event)
        return false;
    if (target >= 0 && target < TARGET_COUNT) {
        // Queue while holding the lock: a receiver that detaches in its destructor
        // waits here, so it cannot be destroyed in the middle of QueueEvent.
        std::lock_guard<std::mutex> lock(m_mutex);
        if (wxEvtHandler* receiver = m_receivers[target]) {
            receiver->QueueEvent(event);
            return true;
        }
    }
    delete event;
    return false;
}

bool JobEventSink::PostCommand(Target target, wxEventType type, int id, int payload) {
    wxCommandEvent* event = new wxCommandEvent(type, id);
    event->SetInt(payload);
    return Post(target, event);
}
