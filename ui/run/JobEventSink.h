#pragma once
// How the worker reaches the windows: a shared relay that holds the receivers and
// queues heap events to them. A window detaches itself in its destructor; events
// for a detached receiver are dropped, so nothing is ever posted to a dead window.

#include <wx/event.h>

#include <memory>
#include <mutex>

class JobEventSink {
public:
    enum Target { TOP_WINDOW = 0, FILE_LIST, OUTPUT_PANEL, OPTIONS_PANE, TARGET_COUNT };

    static std::shared_ptr<JobEventSink> Create();

    // GUI thread. Replaces what the target held before.
    void Attach(Target target, wxEvtHandler* receiver);
    // Any thread. Forgets receiver wherever it is attached; call it from the
    // receiver's destructor. Once it returns, no event reaches receiver any more.
    void Detach(wxEvtHandler* receiver);
    bool IsAttached(Target target) const;

    // Any thread. Takes ownership of event and queues it to the target, or deletes
    // it when nobody is attached there. True when queued.
    bool Post(Target target, wxEvent* event);
    // A new command event of type with id and integer payload, posted as above.
    bool PostCommand(Target target, wxEventType type, int id, int payload = 0);

private:
    JobEventSink() = default;

    mutable std::mutex m_mutex;
    wxEvtHandler* m_receivers[TARGET_COUNT] = {};
};
