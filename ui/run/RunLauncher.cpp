#include "ui/run/RunLauncher.h"

#include "core/FileUtil.h"
#include "ui/run/JobEvents.h"
#include "ui/run/RunState.h"
#include "ui/run/TaskThread.h"

namespace {
// What the worker thread owns for the length of the run.
struct LaunchedRun {
    std::unique_ptr<JobInput> input;
    JobRunner job = nullptr;
};

void RunJob(void* userData) {
    const LaunchedRun* run = static_cast<const LaunchedRun*>(userData);
    if (run->job)
        run->job(*run->input);
}

// The thread's last act: whatever happened, the window hears of the end once.
void EndRun(void* userData) {
    LaunchedRun* run = static_cast<LaunchedRun*>(userData);
    std::shared_ptr<JobEventSink> sink = run->input->sink;
    delete run;
    g_runState = RUN_ENDED;
    if (sink)
        sink->PostCommand(JobEventSink::TOP_WINDOW, wxEVT_PZ_JOB_FINISHED, wxID_ANY, 0);
}
} // namespace

bool LaunchRun(std::unique_ptr<JobInput> input, JobRunner job) {
    if (!input)
        return false;
    if (input->sink)
        input->sink->PostCommand(JobEventSink::TOP_WINDOW, wxEVT_PZ_JOB_STARTED, wxID_ANY, 0);
    g_runState = RUN_RUNNING;

    TaskThread* thread =
        new TaskThread(new LaunchedRun{std::move(input), job}, RunJob, nullptr, EndRun);
    if (StartTaskThread(thread))
        return true;
    FileUtil::WriteLogEvent("Fail", "The worker thread could not be started.", -1);
    return false;
}
