// Starting, stopping and closing during a run, and what a run leaves behind for
// the next one. The scripted engine makes the timing exact.

#include "FakeEngine.h"
#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "ui/run/RunState.h"
#include "core/FileUtil.h"
#include "skin/PictureButton.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "skin/SelectableGrid.h"
#include "ui/MainWindow.h"
#include "ui/FileListPanel.h"
#include "ui/RunStatusLine.h"
#include "ui/StartPanel.h"
#include "ui/WindowIds.h"
#include "ui/AppMenuStrip.h"

#include <wx/frame.h>
#include <wx/msgdlg.h>

#include <unistd.h>

class RunControlTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        UseFakeEngine();
        m_out = m_files.file("out");
        TempDir::MakeDir(m_out);
        ChooseOutputFolder(m_out);
    }

    void AddFiles(int n) {
        for (int i = 0; i < n; ++i)
            AddPath(MakeFakePdf("doc" + std::to_string(i) + ".pdf"));
    }

    bool ButtonEnabled(int id) const { return m_frame->FindWindow(id)->IsEnabled(); }
    // The run-wide status on the output strip.
    wxString RunStatus() const {
        auto* line = dynamic_cast<RunStatusLine*>(m_frame->FindWindow(ID_RUN_STATUS));
        return line ? line->GetText() : wxString("(no status line)");
    }

    std::string m_out;
};

TEST_F(RunControlTest, ARunLocksTheCommandsAndReleasesThemAtItsEnd) {
    AddFiles(2);
    SetPasswords("user", "owner");
    m_engine.SetTiming(20, 20);
    PressStart();
    ASSERT_TRUE(WaitFor([this] { return m_engine.IsEncrypting(); }));
    EXPECT_TRUE(List()->IsBusy());
    EXPECT_FALSE(ButtonEnabled(ID_TOOL_ADD));
    EXPECT_FALSE(ButtonEnabled(ID_TOOL_DELETE));
    EXPECT_FALSE(ButtonEnabled(ID_TOOL_CLEAR));
    EXPECT_FALSE(MenuBar()->AreCommandsEnabled());
    EXPECT_FALSE(ButtonEnabled(ID_OUTPUT_BROWSE));
    EXPECT_TRUE(ButtonEnabled(ID_OUTPUT_OPEN));
    EXPECT_FALSE(m_frame->FindWindow(ID_OPTIONS_PANE)->IsEnabled());
    // The options keep showing what the run uses.
    EXPECT_TRUE(CheckBox(ID_USER_PASSWORD_BOX)->IsChecked());
    EXPECT_TRUE(CheckBox(ID_OWNER_PASSWORD_BOX)->GetEnabled());
    EXPECT_TRUE(m_frame->FindWindow(ID_STOP_BUTTON)->IsShown());
    EXPECT_FALSE(m_frame->FindWindow(ID_START_BUTTON)->IsShown());
    EXPECT_TRUE(WaitFor([this] { return RunStatus() == "1 of 2 files"; })) << RunStatus();

    // Deleting is refused while the run reads the rows.
    List()->GetGrid()->SelectRow(0);
    List()->DeleteSelected();
    EXPECT_EQ(List()->GetRowCount(), 2);

    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(Status(0), "Finished");
    EXPECT_EQ(Status(1), "Finished");
    EXPECT_TRUE(RunStatus().StartsWith("Done in ")) << RunStatus();
    EXPECT_TRUE(RunStatus().EndsWith(" s: 2 written, 0 refused, 0 failed")) << RunStatus();
    EXPECT_TRUE(ButtonEnabled(ID_TOOL_ADD));
    EXPECT_TRUE(ButtonEnabled(ID_TOOL_CLEAR));
    EXPECT_TRUE(MenuBar()->AreCommandsEnabled());
    EXPECT_TRUE(ButtonEnabled(ID_OUTPUT_BROWSE));
    EXPECT_TRUE(m_frame->FindWindow(ID_OPTIONS_PANE)->IsEnabled());
    // Each control is as the rules left it before the run.
    EXPECT_TRUE(CheckBox(ID_PERMIT_COPY)->GetEnabled());
    EXPECT_TRUE(CheckBox(ID_PERMIT_PRINTING)->GetEnabled());
    EXPECT_FALSE(Radio(ID_PRINT_LOW)->GetEnabled()) << "printing is not ticked";
    EXPECT_TRUE(Radio(ID_LEVEL_AES_128)->GetEnabled());
    EXPECT_TRUE(m_frame->FindWindow(ID_START_BUTTON)->IsShown());
    EXPECT_FALSE(m_frame->FindWindow(ID_STOP_BUTTON)->IsShown());
}

TEST_F(RunControlTest, ASecondRunSkipsFinishedRowsUntilAnOptionChanges) {
    AddFiles(3);
    SetPasswords("user", "");
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    ASSERT_EQ(m_engine.EncryptCalls(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(List()->GetDoneFlag(row), 1);

    m_dialogs.ExpectMessage("Every file is already encrypted; there is nothing left to encrypt. "
                            "Change a setting to encrypt them all again.");
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(m_engine.EncryptCalls(), 3) << "finished rows were encrypted again";
    EXPECT_EQ(Status(2), "Finished");

    // A row added after the run is the only one the next run takes.
    AddPath(MakeFakePdf("late.pdf"));
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(m_engine.EncryptCalls(), 4);

    // Any change in the pane clears the statuses and the done flags.
    Click(ID_LEVEL_AES_128);
    PumpEvents();
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Status(row), "") << row;
        EXPECT_EQ(List()->GetDoneFlag(row), 0) << row;
    }
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(m_engine.EncryptCalls(), 8);
}

TEST_F(RunControlTest, StopDuringALargeFileEndsTheRunAndLeavesNoOutputForIt) {
    AddFiles(3);
    SetPasswords("user", "");
    m_engine.SetTiming(500, 10); // some five seconds per file
    PressStart();
    ASSERT_TRUE(WaitFor([this] { return m_engine.IsEncrypting(); }));
    ASSERT_TRUE(WaitFor([this] { return Status(0).EndsWith("%"); }));

    wxCommandEvent stop(wxEVT_BUTTON, ID_STOP_BUTTON);
    wxWindow* stopButton = m_frame->FindWindow(ID_STOP_BUTTON);
    stop.SetEventObject(stopButton);
    stopButton->GetEventHandler()->ProcessEvent(stop);
    // The worker may already have noticed and ended.
    EXPECT_TRUE(g_runState.load() == RUN_STOP_REQUESTED || g_runState.load() == RUN_ENDED);
    EXPECT_FALSE(stopButton->IsEnabled()) << "Stop cannot be pressed twice";

    ASSERT_TRUE(WaitForRunToEnd(5000)) << "the engine was not stopped promptly";
    EXPECT_EQ(m_engine.EncryptCalls(), 1);
    EXPECT_EQ(Status(0), "Fail"); // the engine's answer to a stopped file
    EXPECT_EQ(Status(1), "Stop");
    EXPECT_EQ(Status(2), "");
    EXPECT_EQ(TempDir::ListDir(m_out), "") << "partial or temporary output left behind";
    EXPECT_TRUE(m_frame->FindWindow(ID_START_BUTTON)->IsShown());
    // The file the stop cut short counts as stopped, not as failed.
    EXPECT_TRUE(RunStatus().StartsWith("Stopped after ")) << RunStatus();
    EXPECT_TRUE(RunStatus().EndsWith(": 0 written, 0 refused, 0 failed, 3 not encrypted"))
        << RunStatus();

    const wxString log =
        wxString::FromUTF8(TempDir::ReadFile(FileUtil::GetLogFilePath().ToStdString()));
    EXPECT_TRUE(log.Contains("Stop [] [0]")) << log;

    // A new run can start after a stopped one.
    m_engine.SetTiming(2, 1);
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(Status(2), "Finished");
}

TEST_F(RunControlTest, ClosingDuringARunAsksAndCancelKeepsEverything) {
    AddFiles(1);
    SetPasswords("user", "");
    m_engine.SetTiming(300, 10);
    PressStart();
    ASSERT_TRUE(WaitFor([this] { return m_engine.IsEncrypting(); }));

    m_dialogs.QueueMessageReply(wxCANCEL);
    m_frame->Close();
    PumpEvents();
    ASSERT_EQ(m_dialogs.Messages().size(), 1u);
    const RecordedMessage& question = m_dialogs.Messages()[0];
    EXPECT_EQ(question.message, "The file is converting, do you want to exit this program?");
    EXPECT_TRUE(question.style & wxCANCEL_DEFAULT);
    EXPECT_TRUE(question.style & wxCANCEL);
    EXPECT_FALSE(m_frame->IsBeingDeleted());
    EXPECT_FALSE(g_stopRequested.load());
    EXPECT_TRUE(IsRunActive());
}

TEST_F(RunControlTest, ClosingDuringARunStopsItWithoutCrashOrLeftovers) {
    AddFiles(2);
    SetPasswords("user", "");
    m_engine.SetTiming(1000, 10);
    PressStart();
    ASSERT_TRUE(WaitFor([this] { return m_engine.IsEncrypting(); }));

    // The title bar's close button goes through the same question.
    m_dialogs.QueueMessageReply(wxOK);
    wxCommandEvent close(wxEVT_BUTTON, ID_TITLE_CLOSE);
    wxWindow* closeButton = m_frame->FindWindow(ID_TITLE_CLOSE);
    close.SetEventObject(closeButton);
    closeButton->GetEventHandler()->ProcessEvent(close);
    PumpEvents();
    EXPECT_EQ(m_dialogs.LastMessage(), "The file is converting, do you want to exit this program?");
    EXPECT_TRUE(g_stopRequested.load());
    m_frame = nullptr; // destroyed by the close

    // The worker keeps posting until it notices; nothing may reach the dead windows.
    EXPECT_TRUE(WaitForRunEnd(5000));
    PumpEvents();
    EXPECT_EQ(m_engine.EncryptCalls(), 1);
    EXPECT_EQ(TempDir::ListDir(m_out), "");
}

TEST_F(RunControlTest, ClosingWhenIdleAsksNothing) {
    m_frame->Close();
    PumpEvents();
    EXPECT_TRUE(m_dialogs.Messages().empty());
    m_frame = nullptr;
}

TEST_F(RunControlTest, StopWhenNotRunningChangesNothing) {
    Start()->UpdateButtons();
    EXPECT_FALSE(RequestRunStop());
    EXPECT_EQ(g_runState.load(), RUN_IDLE);
}

TEST_F(RunControlTest, AnOutputFolderRemovedBeforeTheRunIsReportedAndNothingLocks) {
    AddFiles(1);
    SetPasswords("user", "");
    ASSERT_EQ(::rmdir(m_out.c_str()), 0);
    m_dialogs.ExpectMessage("Output directory doesn't exist.");
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_TRUE(
        WaitFor([this] { return m_dialogs.LastMessage() == "Output directory doesn't exist."; }));
    EXPECT_EQ(m_engine.EncryptCalls(), 0);
    EXPECT_EQ(Status(0), "");
    EXPECT_TRUE(ButtonEnabled(ID_OUTPUT_BROWSE));
    EXPECT_TRUE(m_frame->FindWindow(ID_OPTIONS_PANE)->IsEnabled());
    EXPECT_TRUE(m_frame->FindWindow(ID_START_BUTTON)->IsShown());
}

TEST_F(RunControlTest, ASourceDeletedAfterAddingFailsAloneAndTheRunGoesOn) {
    AddFiles(3);
    SetPasswords("user", "");
    ASSERT_EQ(::unlink(m_files.file("doc1.pdf").c_str()), 0);
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(Status(0), "Finished");
    EXPECT_EQ(Status(1), "Fail");
    EXPECT_EQ(Status(2), "Finished");
    EXPECT_EQ(List()->GetDoneFlag(1), 0);
    EXPECT_EQ(TempDir::ListDir(m_out), "doc0_encryption.pdf,doc2_encryption.pdf");
}

TEST_F(RunControlTest, ABackslashNameBringsItsOwnDocumentNotTheFolders) {
    TempDir::MakeDir(m_files.file("a"));
    const std::string inFolder = MakeFakePdf("a/b.pdf", "in the folder");
    const std::string backslash = MakeFakePdf("a\\b.pdf", "backslash in the name");
    AddPaths({backslash, inFolder});
    ASSERT_EQ(List()->GetRowCount(), 2);
    SetPasswords("user", "");
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(TempDir::ReadFile(m_out + "/a\\b_encryption.pdf"), TempDir::ReadFile(backslash));
    EXPECT_EQ(TempDir::ReadFile(m_out + "/b_encryption.pdf"), TempDir::ReadFile(inFolder));
}

namespace {
// Answers the close question and, while it is up, asks to close once more, as a
// second click on the close button would.
class ImpatientUser : public FakeDialogs {
public:
    explicit ImpatientUser(wxWindow* frame) : m_frame(frame) {}
    int MessageBox(const wxString& message, const wxString& caption, long style,
                   wxWindow* parent) override {
        FakeDialogs::MessageBox(message, caption, style, parent);
        if (Messages().size() == 1)
            m_frame->Close();
        return wxOK;
    }

private:
    wxWindow* m_frame;
};
} // namespace

TEST_F(RunControlTest, ASecondCloseWhileTheQuestionIsUpDoesNotAskAgain) {
    AddFiles(1);
    SetPasswords("user", "");
    m_engine.SetTiming(500, 10);
    PressStart();
    ASSERT_TRUE(WaitFor([this] { return m_engine.IsEncrypting(); }));
    {
        ImpatientUser user(m_frame);
        user.QueueMessageReply(wxOK);
        m_frame->Close();
        PumpEvents();
        EXPECT_EQ(user.Messages().size(), 1u);
    }
    DialogSeam::Set(&m_dialogs); // the scripted user's destructor left the real seam
    m_frame = nullptr;
    EXPECT_TRUE(g_stopRequested.load());
    EXPECT_TRUE(WaitForRunEnd(5000));
}

TEST_F(RunControlTest, ARunThatEndsBehindOtherWindowsIsAnnouncedWithItsOwnCounts) {
    AddFiles(2);
    // Its output name is taken by a folder: the engine cannot write it.
    AddPath(MakeFakePdf("blocked.pdf"));
    TempDir::MakeDir(m_out + "/blocked_encryption.pdf");
    // Gone before the run reaches it: refused without going to the engine.
    const std::string gone = MakeFakePdf("gone.pdf");
    AddPath(gone);
    ::unlink(gone.c_str());
    SetPasswords("user", "");

    // In front of the user: the list says it all.
    m_frame->Raise();
    ASSERT_TRUE(WaitFor([this] { return m_frame->IsActive(); }));
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    PumpEvents();
    EXPECT_EQ(Status(2), "Fail");
    EXPECT_EQ(Status(3), "Fail");
    EXPECT_TRUE(m_dialogs.Notifications().empty());

    // Behind another window, the next run is announced with its own rows only.
    AddPath(MakeFakePdf("late.pdf"));
    wxFrame* other = new wxFrame(nullptr, wxID_ANY, "another program");
    other->Show();
    other->Raise();
    other->SetFocus();
    ASSERT_TRUE(WaitFor([this] { return !m_frame->IsActive(); }));
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    PumpEvents();
    other->Destroy();
    EXPECT_EQ(Status(4), "Finished");
    ASSERT_EQ(m_dialogs.Notifications().size(), 1u);
    EXPECT_EQ(m_dialogs.Notifications()[0], "Encryption finished: 1 written, 1 refused, 1 failed.");
}
