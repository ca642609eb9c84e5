// Starts from the desktop: files on the window program's command line, and a second
// start handing its files to the window already open. The second start is the real
// program, run as its own process.

#include "FakeEngine.h"
#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "app/CommandLineFiles.h"
#include "app/InstanceHandOver.h"
#include "ui/FileListPanel.h"

#include <wx/filefn.h>
#include <wx/process.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <memory>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
wxString W(const std::string& text) {
    return wxString::FromUTF8(text);
}

// A lock file as the library writes it: the holder's process id, mode 0600.
void WriteLock(const InstanceHandOver& handOver, const std::string& folder, long pid) {
    const std::string path = folder + "/" + handOver.GetLockName().utf8_string();
    TempDir::WriteFile(path, std::to_string(pid) + std::string(1, '\0'));
    ::chmod(path.c_str(), 0600);
}

// The id of a process that has ended.
long DeadPid() {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}
} // namespace

class DesktopStartTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        UseFakeEngine();
    }

    // Runs the window program in the files folder with the hand-over folder as its
    // runtime folder; its exit code, or -1 when it had to be killed.
    int RunSecondStart(const wxArrayString& arguments) {
        wxExecuteEnv env;
        wxGetEnvMap(&env.env);
        env.env["XDG_RUNTIME_DIR"] = W(m_runtime.path());
        env.cwd = W(m_files.path());
        std::vector<const char*> argv = {PZ_WINDOW_PROGRAM};
        std::vector<std::string> storage;
        for (const wxString& argument : arguments)
            storage.push_back(argument.utf8_string());
        for (const std::string& argument : storage)
            argv.push_back(argument.c_str());
        argv.push_back(nullptr);

        struct Outcome {
            bool ended = false;
            int exitCode = -1;
        };
        // Shared with the handler, which may outlive this call if the process hangs.
        auto outcome = std::make_shared<Outcome>();
        auto* process = new wxProcess;
        process->Bind(wxEVT_END_PROCESS, [outcome](wxProcessEvent& event) {
            outcome->exitCode = event.GetExitCode();
            outcome->ended = true;
        });
        const long pid = wxExecute(argv.data(), wxEXEC_ASYNC, process, &env);
        EXPECT_GT(pid, 0);
        if (pid <= 0) {
            delete process;
            return -1;
        }
        if (!WaitFor([outcome] { return outcome->ended; }, 15000)) {
            // It opened a window of its own instead of handing over.
            wxProcess::Kill(pid, wxSIGKILL);
            WaitFor([outcome] { return outcome->ended; }, 5000);
            return -1;
        }
        delete process;
        return outcome->exitCode;
    }

    TempDir m_runtime;
};

TEST_F(DesktopStartTest, CommandLineFilesReachTheListAsADropWould) {
    const std::string folder = m_files.file("folder");
    TempDir::MakeDir(folder);
    TempDir::WriteFile(folder + "/inside.pdf", "%PDF-1.4\n%%EOF\n");
    MakeFakePdf("relative.pdf");
    const std::string letter = m_files.file("letter.txt");
    TempDir::WriteFile(letter, "not a pdf");

    const wxString before = wxGetCwd();
    ASSERT_TRUE(wxSetWorkingDirectory(W(m_files.path())));
    wxArrayString arguments;
    arguments.Add("pdfzerovovor");
    arguments.Add("relative.pdf");
    arguments.Add(W(folder));
    arguments.Add("letter.txt");
    const wxArrayString paths = CommandLineFiles::FromArguments(arguments);
    wxSetWorkingDirectory(before);

    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], W(m_files.file("relative.pdf")));
    m_dialogs.ExpectMessage("Fail to open file  \n " + W(letter));
    CommandLineFiles::OpenInWindow(Frame(), paths);
    PumpEvents();
    ASSERT_EQ(List()->GetRowCount(), 2);
    EXPECT_EQ(List()->GetCellText(0, 1), "relative.pdf");
    EXPECT_EQ(List()->GetCellText(1, 1), "inside.pdf");
    EXPECT_EQ(m_dialogs.Messages().size(), 1u);
}

TEST_F(DesktopStartTest, ASecondStartHandsItsFilesToTheOpenWindowDespiteAStaleLock) {
    InstanceHandOver first(W(m_runtime.path()));
    // What a killed first instance leaves behind: its lock and its socket file.
    WriteLock(first, m_runtime.path(), DeadPid());
    TempDir::WriteFile(first.GetSocketPath().utf8_string(), "");
    ASSERT_TRUE(first.Claim(
        [this](const wxArrayString& paths) { CommandLineFiles::OpenInWindow(Frame(), paths); }));

    MakeFakePdf("one.pdf");
    MakeFakePdf("two.pdf");
    wxArrayString files;
    files.Add("one.pdf"); // relative to the second start's folder
    files.Add(W(m_files.file("two.pdf")));
    EXPECT_EQ(RunSecondStart(files), 0);
    ASSERT_TRUE(WaitFor([this] { return List()->GetRowCount() == 2; }));
    EXPECT_EQ(List()->GetCellText(0, 5), W(m_files.file("one.pdf")));
    EXPECT_EQ(List()->GetCellText(1, 5), W(m_files.file("two.pdf")));

    // Without files it only brings the window forward: nothing added, no box.
    EXPECT_EQ(RunSecondStart(wxArrayString()), 0);
    PumpEvents();
    EXPECT_EQ(List()->GetRowCount(), 2);
    EXPECT_TRUE(m_dialogs.Messages().empty()) << m_dialogs.LastMessage();
}

TEST_F(DesktopStartTest, ALockHolderThatDoesNotAnswerLetsTheStartGoOn) {
    InstanceHandOver second(W(m_runtime.path()));
    // A live process that is not the program holds the lock; nobody listens.
    WriteLock(second, m_runtime.path(), static_cast<long>(::getppid()));
    EXPECT_FALSE(second.Claim([](const wxArrayString&) { ADD_FAILURE() << "nothing to receive"; }));
    wxArrayString files;
    files.Add(W(MakeFakePdf("kept.pdf")));
    wxStopWatch watch;
    EXPECT_FALSE(second.HandOver(files));
    EXPECT_LT(watch.Time(), 5000);
}
