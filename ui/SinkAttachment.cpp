#include "ui/SinkAttachment.h"

SinkAttachment::~SinkAttachment() {
    if (m_sink && m_receiver)
        m_sink->Detach(m_receiver);
}

void SinkAttachment::Attach(const std::shared_ptr<JobEventSink>& sink, JobEventSink::Target target,
                            wxEvtHandler* receiver) {
    if (m_sink && m_receiver && m_sink != sink)
        m_sink->Detach(m_receiver);
    m_sink = sink;
    m_receiver = receiver;
    if (m_sink && m_receiver)
        m_sink->Attach(target, m_receiver);
}
