// Runs whole batches on the real worker thread against the scripted engine, with
// recorders standing in for the windows and the log read back from the day file.

#include "EventRecorder.h"
#include "FakeEngine.h"
#include "TempDir.h"

#include "ui/run/EncryptionJob.h"
#include "ui/run/JobEvents.h"
#include "ui/run/RunLauncher.h"
#include "ui/run/RunState.h"
#include "core/FileUtil.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
const char* const kSeparator = "----";

class JobRunTest : public testing::Test {
protected:
    void SetUp() override {
        g_runState = RUN_IDLE;
        g_stopRequested = false;
        engine.Install();
        engine.SetTiming(0, 0); // no progress unless a test asks for it
        sink = JobEventSink::Create();
        sink->Attach(JobEventSink::TOP_WINDOW, &top);
        sink->Attach(JobEventSink::FILE_LIST, &list);
        sink->Attach(JobEventSink::OUTPUT_PANEL, &output);
        sink->Attach(JobEventSink::OPTIONS_PANE, &options);
        outDir = dir.file("out");
        TempDir::MakeDir(outDir);
        TempDir::MakeDir(dir.file("src"));
        run.userPasswordEnabled = true;
        run.ownerPasswordEnabled = true;
        run.options.userPassword = "UserSecret1";
        run.options.ownerPassword = "OwnerSecret2";
    }

    void TearDown() override {
        // Nothing may outlive the test: the worker must have ended.
        EXPECT_TRUE(WaitForRunEnd(5000));
        for (wxEvtHandler* handler : {&top, &list, &output, &options})
            sink->Detach(handler);
        g_stopRequested = false;
        FakeEngine::Uninstall();
    }

    std::string Source(const std::string& name) const { return dir.file("src/" + name); }

    void AddRow(const std::string& name, bool createFile = true) {
        if (createFile)
            TempDir::WriteFile(Source(name), "%PDF-1.4 test");
        JobRow row;
        row.index = static_cast<int32_t>(rows.size());
        row.path = Source(name);
        row.fileName = name;
        rows.push_back(row);
    }

    std::unique_ptr<JobInput> MakeInput() {
        std::unique_ptr<JobInput> input(new JobInput);
        input->rows = rows;
        input->run = run;
        input->outputDir = outDir;
        input->sink = sink;
        return input;
    }

    void Launch() { ASSERT_TRUE(LaunchRun(MakeInput(), RunEncryptionJob)); }

    void WaitForFinish() {
        ASSERT_TRUE(PumpUntil([&] { return top.Count(wxEVT_PZ_JOB_FINISHED) >= 1; }));
        // Anything sent late would show up here.
        PumpFor(100);
    }

    void RunToEnd() {
        Launch();
        WaitForFinish();
    }

    // Today's log without the time stamps; the separator line becomes kSeparator.
    std::vector<std::string> LogRecords() const {
        std::istringstream in(TempDir::ReadFile(FileUtil::GetLogFilePath().ToStdString()));
        std::vector<std::string> records;
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("# .", 0) == 0)
                records.push_back(kSeparator);
            else if (line.size() > 11)
                records.push_back(line.substr(11));
        }
        return records;
    }

    std::vector<int> CellStates(int row) const {
        std::vector<int> states;
        for (const RecordedEvent& cell : list.CellsForRow(row))
            states.push_back(cell.state);
        return states;
    }

    ScopedHome home;
    TempDir dir;
    FakeEngine engine;
    EventRecorder top, list, output, options;
    std::shared_ptr<JobEventSink> sink;
    std::string outDir;
    RunOptions run;
    std::vector<JobRow> rows;
};
} // namespace

TEST_F(JobRunTest, LogsAndReportsEveryKindOfResult) {
    AddRow("good.pdf");
    AddRow("bad.pdf");
    AddRow("gone.pdf", false);
    engine.encryptResult["bad.pdf"] = PDFMS_ERR_OUTPUT;
    RunToEnd();

    const std::vector<std::string> expected = {kSeparator,
                                               "Output Dir  [" + outDir + "] [0]",
                                               "Converting [" + Source("good.pdf") + "] [0]",
                                               "Finished [] [0]",
                                               "Converting [" + Source("bad.pdf") + "] [0]",
                                               "Fail [] [3]",
                                               "Fail [] [-1]"};
    EXPECT_EQ(LogRecords(), expected);
    const std::string log = TempDir::ReadFile(FileUtil::GetLogFilePath().ToStdString());
    EXPECT_EQ(log.find("UserSecret1"), std::string::npos);
    EXPECT_EQ(log.find("OwnerSecret2"), std::string::npos);

    // The missing file never reaches the engine.
    const std::vector<FakeEncryptCall> calls = engine.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].source, Source("good.pdf"));
    EXPECT_EQ(calls[0].output, outDir + "/good_encryption.pdf");
    EXPECT_EQ(calls[0].userPassword, "UserSecret1");
    EXPECT_EQ(calls[0].ownerPassword, "OwnerSecret2");
    EXPECT_EQ(engine.created, 1);
    EXPECT_EQ(engine.released, 1);

    EXPECT_EQ(list.Payloads(wxEVT_PZ_ROW_STARTED), (std::vector<int>{0, 1}));
    EXPECT_EQ(CellStates(0), std::vector<int>{CELL_FINISHED});
    EXPECT_EQ(CellStates(1), std::vector<int>{CELL_FAIL});
    EXPECT_EQ(CellStates(2), std::vector<int>{CELL_FAIL});
    for (const RecordedEvent& cell : list.CellsForRow(0)) {
        EXPECT_EQ(cell.id, 2007);
        EXPECT_EQ(cell.col, 4);
    }
    EXPECT_EQ(list.Payloads(wxEVT_PZ_ROW_DONE), std::vector<int>{0});
    EXPECT_EQ(list.Count(wxEVT_PZ_RESULTS_SHOWN), 1u);

    ASSERT_EQ(output.Events().size(), 2u);
    EXPECT_EQ(output.Events()[0].type, wxEVT_PZ_OUTPUT_LOCKED);
    EXPECT_EQ(output.Events()[0].id, 2037);
    EXPECT_EQ(output.Events()[1].type, wxEVT_PZ_OUTPUT_UNLOCKED);
    EXPECT_EQ(output.Events()[1].id, 2038);
    ASSERT_EQ(options.Events().size(), 2u);
    EXPECT_EQ(options.Events()[0].type, wxEVT_PZ_OPTIONS_LOCK);
    EXPECT_EQ(options.Events()[1].type, wxEVT_PZ_OPTIONS_UNLOCK);

    ASSERT_EQ(top.Events().size(), 2u);
    EXPECT_EQ(top.Events()[0].type, wxEVT_PZ_JOB_STARTED);
    EXPECT_EQ(top.Events()[1].type, wxEVT_PZ_JOB_FINISHED);
    EXPECT_EQ(top.Events()[1].payload, 0);
    EXPECT_EQ(g_runState.load(), RUN_ENDED);
}

TEST_F(JobRunTest, SameOutputNameFromAnotherSourceFailsInsteadOfReplacing) {
    AddRow("x.pdf");
    TempDir::MakeDir(dir.file("other"));
    TempDir::WriteFile(dir.file("other/x.pdf"), "%PDF-1.4 other");
    JobRow other;
    other.index = 1;
    other.path = dir.file("other/x.pdf");
    other.fileName = "x.pdf";
    rows.push_back(other);
    AddRow("x.pdf"); // the same file listed twice writes the same result again
    RunToEnd();

    const std::vector<std::string> expected = {kSeparator,
                                               "Output Dir  [" + outDir + "] [0]",
                                               "Converting [" + Source("x.pdf") + "] [0]",
                                               "Finished [] [0]",
                                               "Converting [" + dir.file("other/x.pdf") + "] [0]",
                                               "Fail [] [-2]",
                                               "Converting [" + Source("x.pdf") + "] [0]",
                                               "Finished [] [0]"};
    EXPECT_EQ(LogRecords(), expected);
    ASSERT_EQ(engine.Calls().size(), 2u);
    EXPECT_EQ(engine.Calls()[1].source, Source("x.pdf"));
    EXPECT_EQ(CellStates(1), std::vector<int>{CELL_FAIL});
    EXPECT_EQ(list.CellsForRow(1)[0].text, "another file of this run has the same output name");
    EXPECT_EQ(CellStates(2), std::vector<int>{CELL_FINISHED});
}

TEST_F(JobRunTest, AnOutputNeverReplacesAnotherSourceOfTheRun) {
    AddRow("report.pdf");
    AddRow("report_encryption.pdf"); // the user's own, unencrypted
    outDir = dir.file("src");
    RunToEnd();
    EXPECT_EQ(CellStates(0), std::vector<int>{CELL_FAIL});
    EXPECT_EQ(list.CellsForRow(0)[0].text, "its output would replace a source file of this run");
    ASSERT_EQ(engine.Calls().size(), 1u);
    EXPECT_EQ(engine.Calls()[0].source, Source("report_encryption.pdf"));
    EXPECT_EQ(TempDir::ReadFile(Source("report_encryption.pdf")), "%PDF-1.4 test");
}

TEST_F(JobRunTest, NamesAreBytesAndEachOutputHoldsItsOwnDocument) {
    // "a\\b.pdf" beside the folder "a" holding b.pdf: neither may stand in for the other.
    TempDir::MakeDir(Source("a"));
    for (const std::string name : {"a\\b.pdf", "a/b.pdf", "c|d.pdf", "e\nf.pdf", "-g.pdf"}) {
        TempDir::WriteFile(Source(name), "%PDF-1.4 " + name);
        JobRow row;
        row.index = static_cast<int32_t>(rows.size());
        row.path = wxString::FromUTF8(Source(name));
        row.fileName = wxString::FromUTF8(name.substr(name.rfind('/') + 1));
        rows.push_back(row);
    }
    RunToEnd();
    EXPECT_EQ(TempDir::ReadFile(outDir + "/a\\b_encryption.pdf"), "%PDF-1.4 a\\b.pdf");
    EXPECT_EQ(TempDir::ReadFile(outDir + "/b_encryption.pdf"), "%PDF-1.4 a/b.pdf");
    EXPECT_EQ(TempDir::ReadFile(outDir + "/c|d_encryption.pdf"), "%PDF-1.4 c|d.pdf");
    EXPECT_EQ(TempDir::ReadFile(outDir + "/e\nf_encryption.pdf"), "%PDF-1.4 e\nf.pdf");
    EXPECT_EQ(TempDir::ReadFile(outDir + "/-g_encryption.pdf"), "%PDF-1.4 -g.pdf");
}

TEST_F(JobRunTest, ASecondRunOverFinishedRowsDoesNothingButLog) {
    AddRow("a.pdf");
    AddRow("b.pdf");
    RunToEnd();
    // The window sets the done flags from the row-done events.
    for (int done : list.Payloads(wxEVT_PZ_ROW_DONE))
        rows[done].done = true;
    ASSERT_TRUE(rows[0].done && rows[1].done);

    const size_t recordsBefore = LogRecords().size();
    const size_t callsBefore = engine.Calls().size();
    const size_t cellsBefore = list.Count(wxEVT_PZ_STATUS_CELL);
    Launch();
    ASSERT_TRUE(PumpUntil([&] { return top.Count(wxEVT_PZ_JOB_FINISHED) >= 2; }));
    PumpFor(100);

    EXPECT_EQ(engine.Calls().size(), callsBefore);
    EXPECT_EQ(list.Count(wxEVT_PZ_ROW_STARTED), 2u);
    EXPECT_EQ(list.Count(wxEVT_PZ_STATUS_CELL), cellsBefore);
    EXPECT_EQ(list.Count(wxEVT_PZ_ROW_DONE), 2u);
    const std::vector<std::string> records = LogRecords();
    ASSERT_EQ(records.size(), recordsBefore + 2);
    EXPECT_EQ(records[recordsBefore], kSeparator);
    EXPECT_EQ(records[recordsBefore + 1], "Output Dir  [" + outDir + "] [0]");
}

TEST_F(JobRunTest, StopDuringTheSecondOfFiveFiles) {
    for (const char* name : {"f1.pdf", "f2.pdf", "f3.pdf", "f4.pdf", "f5.pdf"})
        AddRow(name);
    engine.blockingName = "f2.pdf";
    Launch();
    ASSERT_TRUE(PumpUntil([&] { return engine.blockingEntered.load(); }));
    EXPECT_TRUE(RequestRunStop());
    EXPECT_EQ(g_runState.load(), RUN_STOP_REQUESTED);
    WaitForFinish();

    EXPECT_EQ(engine.Calls().size(), 2u);
    EXPECT_EQ(CellStates(0), std::vector<int>{CELL_FINISHED});
    // The stopped file shows what the engine answered: a failure.
    ASSERT_FALSE(CellStates(1).empty());
    EXPECT_EQ(CellStates(1).back(), CELL_FAIL);
    // The engine's progress reached the row being written, once per percentage.
    const std::vector<RecordedEvent> second = list.CellsForRow(1);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].state, CELL_PROGRESS);
    EXPECT_EQ(second[0].payload, 50);
    EXPECT_EQ(CellStates(2), std::vector<int>{CELL_STOP});
    EXPECT_TRUE(CellStates(3).empty());
    EXPECT_TRUE(CellStates(4).empty());
    EXPECT_EQ(list.Payloads(wxEVT_PZ_ROW_STARTED), (std::vector<int>{0, 1}));

    std::vector<std::string> records = LogRecords();
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[records.size() - 3], "Converting [" + Source("f2.pdf") + "] [0]");
    EXPECT_EQ(records[records.size() - 2], "Fail [] [4]");
    EXPECT_EQ(records.back(), "Converting [" + Source("f3.pdf") + "] [0]");

    EXPECT_EQ(g_runState.load(), RUN_ENDED);
    EXPECT_EQ(top.Count(wxEVT_PZ_JOB_FINISHED), 1u);
    EXPECT_EQ(output.Count(wxEVT_PZ_OUTPUT_UNLOCKED), 1u);
    EXPECT_EQ(options.Count(wxEVT_PZ_OPTIONS_UNLOCK), 1u);
    // Stop after the end changes nothing.
    EXPECT_FALSE(RequestRunStop());
    EXPECT_EQ(g_runState.load(), RUN_ENDED);
}

TEST_F(JobRunTest, AMissingOutputFolderEndsTheRunBeforeAnythingHappens) {
    outDir = dir.file("no-such-folder");
    AddRow("a.pdf");
    RunToEnd();
    EXPECT_EQ(top.Count(wxEVT_PZ_OUTPUT_DIR_MISSING), 1u);
    EXPECT_EQ(top.Count(wxEVT_PZ_JOB_FINISHED), 1u);
    EXPECT_TRUE(list.Events().empty());
    EXPECT_TRUE(output.Events().empty());
    EXPECT_TRUE(options.Events().empty());
    EXPECT_EQ(engine.created, 0);
    EXPECT_EQ(LogRecords(),
              (std::vector<std::string>{kSeparator, "Output Dir  [" + outDir + "] [0]"}));
}

TEST_F(JobRunTest, ClosingTheWindowReturnsAtOnceAndStillUnlocks) {
    AddRow("f1.pdf");
    AddRow("f2.pdf");
    engine.blockingName = "f1.pdf";
    Launch();
    ASSERT_TRUE(PumpUntil([&] { return engine.blockingEntered.load(); }));
    g_stopRequested = true;
    WaitForFinish();

    EXPECT_EQ(engine.Calls().size(), 1u);
    for (int state : CellStates(0))
        EXPECT_EQ(state, CELL_PROGRESS) << "no result is shown while closing";
    EXPECT_EQ(list.Count(wxEVT_PZ_RESULTS_SHOWN), 0u);
    EXPECT_EQ(output.Count(wxEVT_PZ_OUTPUT_UNLOCKED), 1u);
    EXPECT_EQ(options.Count(wxEVT_PZ_OPTIONS_UNLOCK), 1u);
    EXPECT_EQ(engine.released, engine.created);
    EXPECT_EQ(LogRecords().back(), "Converting [" + Source("f1.pdf") + "] [0]");
}

TEST_F(JobRunTest, EventsForADetachedWindowAreDropped) {
    AddRow("f1.pdf");
    AddRow("f2.pdf");
    engine.blockingName = "f1.pdf";
    Launch();
    ASSERT_TRUE(PumpUntil([&] { return engine.blockingEntered.load(); }));
    sink->Detach(&list);
    PumpFor(50);
    const size_t seen = list.Events().size();
    EXPECT_TRUE(RequestRunStop());
    WaitForFinish();

    EXPECT_EQ(list.Events().size(), seen);
    EXPECT_EQ(output.Count(wxEVT_PZ_OUTPUT_UNLOCKED), 1u);
    EXPECT_EQ(top.Count(wxEVT_PZ_JOB_FINISHED), 1u);
}

TEST_F(JobRunTest, WithoutAnEngineEveryFileFails) {
    FakeEngine::Uninstall();
    AddRow("a.pdf");
    RunToEnd();
    EXPECT_EQ(CellStates(0), std::vector<int>{CELL_FAIL});
    EXPECT_EQ(LogRecords().back(), "Fail [] [7]");
    EXPECT_EQ(top.Count(wxEVT_PZ_JOB_FINISHED), 1u);
}
