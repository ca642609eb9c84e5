#include "ui/run/TaskThread.h"

TaskThread::TaskThread(void* userData, TaskFunction run, TaskFunction onCreate,
                       TaskFunction onDestroy)
    : wxThread(wxTHREAD_DETACHED), m_userData(userData), m_run(run), m_onCreate(onCreate),
      m_onDestroy(onDestroy) {
    if (m_onCreate)
        m_onCreate(m_userData);
}

TaskThread::~TaskThread() {
    if (m_onDestroy)
        m_onDestroy(m_userData);
}

wxThread::ExitCode TaskThread::Entry() {
    if (m_run)
        m_run(m_userData);
    return 0;
}

bool StartTaskThread(TaskThread* thread) {
    if (!thread)
        return false;
    if (thread->Run() != wxTHREAD_NO_ERROR) {
        // A detached thread that never ran does not delete itself.
        delete thread;
        return false;
    }
    return true;
}
