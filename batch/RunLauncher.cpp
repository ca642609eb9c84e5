#include "batch/RunLauncher.h"

#include "batch/JobHooks.h"
#include "batch/RunState.h"
#include "batch/TaskThread.h"
#include "core/FileUtil.h"

namespace {
void RunJob(void* userData) {
    const JobInput* input = static_cast<const JobInput*>(userData);
    if (g_jobHook)
        g_jobHook(*input);
}

// The thread's last act: whatever happened, the window hears of the end once.
void EndRun(void* userData) {
    JobInput* input = static_cast<JobInput*>(userData);
    std::shared_ptr<JobEventSink> sink = input->sink;
    delete input;
    g_runState = RUN_ENDED;
    if (sink)
        sink->PostCommand(JobEventSink::TOP_WINDOW, wxEVT_PZ_JOB_FINISHED, wxID_ANY, 0);
}
} // namespace

bool LaunchRun(std::unique_ptr<JobInput> input) {
    if (!input)
        return false;
    if (input->sink)
        input->sink->PostCommand(JobEventSink::TOP_WINDOW, wxEVT_PZ_JOB_STARTED, wxID_ANY, 0);
    g_runState = RUN_RUNNING;

    TaskThread* thread = new TaskThread(input.release(), RunJob, nullptr, EndRun);
    if (StartTaskThread(thread))
        return true;
    FileUtil::WriteLogEvent("Fail", "The worker thread could not be started.", -1);
    return false;
}
