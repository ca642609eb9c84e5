#pragma once
// Keeps a window attached to the run's event relay for as long as the window
// lives: the destructor detaches it, so the worker never posts to a dead window.

#include "ui/run/JobEventSink.h"

#include <memory>

class SinkAttachment {
public:
    SinkAttachment() = default;
    ~SinkAttachment();
    SinkAttachment(const SinkAttachment&) = delete;
    SinkAttachment& operator=(const SinkAttachment&) = delete;

    void Attach(const std::shared_ptr<JobEventSink>& sink, JobEventSink::Target target,
                wxEvtHandler* receiver);
    const std::shared_ptr<JobEventSink>& GetSink() const { return m_sink; }

private:
    std::shared_ptr<JobEventSink> m_sink;
    wxEvtHandler* m_receiver = nullptr;
};
