#pragma once
// A detached worker thread that runs plain functions with one user-data pointer.

#include <wx/thread.h>

typedef void (*TaskFunction)(void* userData);

class TaskThread : public wxThread {
public:
    // Any function may be null. onCreate runs at the end of the constructor,
    // onDestroy at the start of the destructor (on the worker, after run).
    TaskThread(void* userData, TaskFunction run, TaskFunction onCreate = nullptr,
               TaskFunction onDestroy = nullptr);
    ~TaskThread() override;

protected:
    ExitCode Entry() override;

private:
    void* m_userData;
    TaskFunction m_run;
    TaskFunction m_onCreate;
    TaskFunction m_onDestroy;
};

// Creates the system thread and runs it. When that fails the object is deleted at
// once (its onDestroy runs on the calling thread) and the result is false.
bool StartTaskThread(TaskThread* thread);
