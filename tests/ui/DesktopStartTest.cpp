// Starts from the desktop: files on the window program's command line, and a second
// start handing its files to the window already open. The second start is the real
// program, run as its own process.

#include "FakeEngine.h"
#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "app/CommandLineFiles.h"
#include "app/HandOverServer.h"
#include "app/InstanceHandOver.h"
#include "ui/FileListPanel.h"

#include <wx/filefn.h>
#include <wx/process.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <memory>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// A client of the hand-over socket that sends whatever it is told to.
int Connect(const wxString& socketPath) {
    const std::string path = socketPath.utf8_string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The window has closed its end (and sent nothing).
bool HungUp(int fd) {
    char byte;
    const ssize_t n = ::recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
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

TEST_F(DesktopStartTest, BadHandOverMessagesAreDroppedAndTheWindowStaysResponsive) {
    InstanceHandOver first(W(m_runtime.path()));
    ASSERT_TRUE(first.Claim(
        [this](const wxArrayString& paths) { CommandLineFiles::OpenInWindow(Frame(), paths); }));
    struct stat st;
    ASSERT_EQ(::stat(first.GetSocketPath().utf8_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the socket is its owner's alone";

    const std::string bad[] = {
        std::string("\x0a\x00\x00\x00\x40", 5),       // a 5-byte header announcing 1 GB
        std::string("PZH1\x40\x00\x00\x00", 8),       // ours, announcing 1 GB
        std::string("PZH1\x00\x00\x00\x05one.p", 13), // a path without its NUL
        std::string("PZH1\x00\x00\x00\x01\0", 9),     // an empty path
        "garbage that is no message at all",
    };
    for (const std::string& message : bad) {
        SCOPED_TRACE(message);
        const int fd = Connect(first.GetSocketPath());
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::send(fd, message.data(), message.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(message.size()));
        EXPECT_TRUE(WaitFor([fd] { return HungUp(fd); }, 2000)) << "not dropped at once";
        ::close(fd);
    }

    // A client that starts a message and goes quiet holds up nothing: the window
    // answers, a real second start is served meanwhile, and the quiet one is dropped.
    const int quiet = Connect(first.GetSocketPath());
    ASSERT_GE(quiet, 0);
    ASSERT_EQ(::send(quiet, "PZH1\x00\x00", 6, MSG_NOSIGNAL), 6);
    bool answered = false;
    Frame()->CallAfter([&answered] { answered = true; });
    EXPECT_TRUE(WaitFor([&answered] { return answered; }, 1000));
    MakeFakePdf("one.pdf");
    wxArrayString files;
    files.Add("one.pdf");
    EXPECT_EQ(RunSecondStart(files), 0);
    EXPECT_TRUE(WaitFor([this] { return List()->GetRowCount() == 1; }));
    EXPECT_TRUE(WaitFor([quiet] { return HungUp(quiet); }, 2 * HandOverServer::kClientMs));
    ::close(quiet);
    EXPECT_EQ(List()->GetRowCount(), 1);
    EXPECT_TRUE(m_dialogs.Messages().empty()) << m_dialogs.LastMessage();
}
