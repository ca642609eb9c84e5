#include "EventRecorder.h"

#include "ui/run/JobEventSink.h"
#include "ui/run/JobEvents.h"
#include "ui/run/RunState.h"
#include "ui/run/TaskThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

TEST(CellRenderEvent, EveryMemberSurvivesCloneAndTheQueue) {
    StatusCellEvent event(wxEVT_PZ_STATUS_CELL, 2007);
    event.SetRow(7);
    event.SetCol(4);
    event.SetState(CELL_FAIL);
    event.SetInt(55);
    std::unique_ptr<wxEvent> clone(event.Clone());
    auto* copy = dynamic_cast<StatusCellEvent*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetRow(), 7);
    EXPECT_EQ(copy->GetCol(), 4);
    EXPECT_EQ(copy->GetState(), CELL_FAIL);
    EXPECT_EQ(copy->GetInt(), 55);
    EXPECT_EQ(copy->GetId(), 2007);

    // Queued from another thread, as the worker does.
    EventRecorder receiver;
    std::thread worker([&] { receiver.QueueEvent(event.Clone()); });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return receiver.Events().size() == 1; }));
    const RecordedEvent& got = receiver.Events()[0];
    EXPECT_EQ(got.row, 7);
    EXPECT_EQ(got.col, 4);
    EXPECT_EQ(got.state, CELL_FAIL);
    EXPECT_EQ(got.payload, 55);
}

TEST(JobEventSink, DeliversOnlyToAttachedReceivers) {
    std::shared_ptr<JobEventSink> sink = JobEventSink::Create();
    EventRecorder list;
    EXPECT_FALSE(sink->PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_ROW_STARTED, 2007, 1));
    EXPECT_FALSE(sink->Post(JobEventSink::FILE_LIST, nullptr));

    sink->Attach(JobEventSink::FILE_LIST, &list);
    EXPECT_TRUE(sink->IsAttached(JobEventSink::FILE_LIST));
    EXPECT_FALSE(sink->IsAttached(JobEventSink::TOP_WINDOW));
    EXPECT_TRUE(sink->PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_ROW_STARTED, 2007, 3));
    EXPECT_FALSE(sink->PostCommand(JobEventSink::TOP_WINDOW, wxEVT_PZ_JOB_FINISHED, 0));

    sink->Detach(&list);
    EXPECT_FALSE(sink->IsAttached(JobEventSink::FILE_LIST));
    EXPECT_FALSE(sink->PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_ROW_STARTED, 2007, 4));
    PumpFor(30);
    EXPECT_EQ(list.Payloads(wxEVT_PZ_ROW_STARTED), std::vector<int>{3});
}

TEST(RunState, TheWindowsStopTokenFollowsTheStopButtonAndClosing) {
    g_runState = RUN_RUNNING;
    g_stopRequested = false;
    RunStateStopToken token;
    EXPECT_EQ(token.Get(), StopToken::None);
    EXPECT_TRUE(RequestRunStop());
    EXPECT_EQ(token.Get(), StopToken::Stop);
    g_stopRequested = true;
    EXPECT_EQ(token.Get(), StopToken::Abandon);
    g_runState = RUN_IDLE;
    g_stopRequested = false;

    // A raised request is never lowered.
    StopToken plain;
    plain.Request(StopToken::Abandon);
    plain.Request(StopToken::Stop);
    EXPECT_EQ(plain.Get(), StopToken::Abandon);
}

TEST(RunState, StopOnlyFromRunningAndShutdownWaitIsBounded) {
    for (int32_t state : {RUN_IDLE, RUN_ENDED, RUN_STOP_REQUESTED}) {
        g_runState = state;
        EXPECT_FALSE(RequestRunStop());
        EXPECT_EQ(g_runState.load(), state);
    }
    g_runState = RUN_RUNNING;
    EXPECT_FALSE(WaitForRunEnd(50));
    std::thread worker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        g_runState = RUN_ENDED;
    });
    EXPECT_TRUE(WaitForRunEnd(5000));
    worker.join();
    g_runState = RUN_IDLE;
}

namespace {
struct ThreadTrace {
    std::thread::id created, ran, destroyed;
    std::atomic<int> order{0};
    int runAt = 0, destroyAt = 0;
    std::atomic<bool> finished{false};
};
} // namespace

TEST(TaskThread, RunsThenDestroysItselfOnTheWorker) {
    ThreadTrace trace;
    TaskThread* thread = new TaskThread(
        &trace,
        [](void* data) {
            auto* t = static_cast<ThreadTrace*>(data);
            t->ran = std::this_thread::get_id();
            t->runAt = ++t->order;
        },
        [](void* data) { static_cast<ThreadTrace*>(data)->created = std::this_thread::get_id(); },
        [](void* data) {
            auto* t = static_cast<ThreadTrace*>(data);
            t->destroyed = std::this_thread::get_id();
            t->destroyAt = ++t->order;
            t->finished = true;
        });
    EXPECT_EQ(trace.created, std::this_thread::get_id());
    ASSERT_TRUE(StartTaskThread(thread));
    ASSERT_TRUE(PumpUntil([&] { return trace.finished.load(); }));
    EXPECT_NE(trace.ran, std::this_thread::get_id());
    EXPECT_EQ(trace.destroyed, trace.ran);
    EXPECT_EQ(trace.runAt, 1);
    EXPECT_EQ(trace.destroyAt, 2);
}
