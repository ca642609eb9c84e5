// The engine host as a confined process: it gets its files as descriptors, holds
// no other file while it works, runs under its seccomp filter, and dies of it
// when it tries to open a path.

#include "EngineTestSupport.h"

#include "TempDir.h"
#include "TestPdf.h"
#include "engine/PdfEngine.h"
#include "engine/api/HostChannel.h"
#include "engine/api/HostProtocol.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

class HostSandboxTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_service = std::make_unique<PdfEngineService>();
        m_source = m_dir.file("in.pdf");
        ASSERT_TRUE(TestPdf::WritePages(m_source, 2));
    }
    void TearDown() override {
        m_service.reset();
        ::unsetenv("PZ_TEST_OPEN_ON_REQUEST");
        EngineTest::TearDown();
    }

    // Starts the test build of the host on a socket, as the library does, asks it
    // to probe m_source and returns how it ended: its exit status after the
    // probe, or -1 when it answered.
    int ProbeWithTestHost(const char* openOnRequest) {
        int sv[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
            return -2;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, sv[1], 3);
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            env.push_back(*e);
        if (openOnRequest)
            env.push_back(std::string("PZ_TEST_OPEN_ON_REQUEST=") + openOnRequest);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        char program[] = PZ_TEST_ENGINE;
        char channelArg[] = "--channel-fd=3";
        char* argv[] = {program, channelArg, nullptr};
        pid_t pid = -1;
        const int spawned = ::posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(sv[1]);
        if (spawned != 0) {
            ::close(sv[0]);
            return -2;
        }
        int ended = -1;
        {
            HostChannel channel(sv[0]);
            HostChannel::Message m;
            const int source = ::open(m_source.c_str(), O_RDONLY | O_CLOEXEC);
            const HostProtocol::ProbeRequest probe{source, 10000};
            if (channel.Receive(m, 10000) != HostChannel::ReadResult::Ok ||
                !channel.Send(HostProtocol::Encode(probe), HostProtocol::Descriptors(probe)) ||
                channel.Receive(m, 10000) != HostChannel::ReadResult::Ok)
                ended = 0;
            ::close(source);
        }
        ::close(sv[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return ended == -1 ? -1 : status;
    }

    TempDir m_dir;
    std::unique_ptr<EngineService> m_service;
    std::string m_source;
};

TEST_F(HostSandboxTest, AHostThatOpensAPathIsKilledByItsFilter) {
    EXPECT_EQ(-1, ProbeWithTestHost(nullptr)) << "the test host answers when it opens nothing";
    const int status = ProbeWithTestHost(m_source.c_str());
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(SIGSYS, WTERMSIG(status));

    // The library takes that death for a crash, as any other, and leaves no file.
    PdfEngine::SetHostProgram(PZ_TEST_ENGINE);
    ::setenv("PZ_TEST_OPEN_ON_REQUEST", m_source.c_str(), 1);
    PdfEngine::Reset();
    EXPECT_EQ(PDFMS_OPEN_DAMAGED, m_service->GetOpenState(m_source.c_str()));
    PdfMSSource s{};
    s.path = m_source.c_str();
    const PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss");
    EXPECT_EQ(PDFMS_ERR_HOST,
              m_service->EncryptPdf(&s, m_dir.file("out.pdf").c_str(), &p, nullptr, nullptr));
    EXPECT_EQ("in.pdf", TempDir::ListDir(m_dir.path()));
}

TEST_F(HostSandboxTest, WhileItWritesTheHostHoldsOnlyItsOwnFiles) {
    // Long enough to look at the host while it works on it.
    const std::string slow = m_dir.file("slow.pdf");
    ASSERT_TRUE(TestPdf::WriteDeepPageTree(slow, 250000));
    const std::string out = m_dir.file("out");
    TempDir::MakeDir(out);
    std::atomic<bool> done{false};
    int looked = 0, lookedAtFiles = 0;
    std::string status, files;
    std::thread watch([&] {
        using Clock = std::chrono::steady_clock;
        Clock::time_point since{};
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            // The host has its request once the temporary file is there; give it
            // a moment to be well into the work.
            if (TempDir::ListDir(out).find(".pz-") == std::string::npos)
                continue;
            if (since == Clock::time_point{})
                since = Clock::now();
            if (Clock::now() - since < std::chrono::milliseconds(200))
                continue;
            for (int pid : PdfEngine::GetBusyHostPids()) {
                const std::string proc = "/proc/" + std::to_string(pid);
                std::ifstream in(proc + "/status");
                std::string seen;
                for (std::string line; std::getline(in, line);)
                    if (line.rfind("Seccomp:", 0) == 0 || line.rfind("NoNewPrivs:", 0) == 0)
                        seen += line + "\n";
                if (seen.empty())
                    continue; // gone between the list and the look
                status = seen;
                ++looked;
                // Readable to root only: the host is not dumpable.
                DIR* fds = ::opendir((proc + "/fd").c_str());
                if (!fds)
                    continue;
                ++lookedAtFiles;
                while (dirent* e = ::readdir(fds)) {
                    char target[4096] = {};
                    const std::string link = proc + "/fd/" + e->d_name;
                    if (e->d_name[0] == '.' ||
                        ::readlink(link.c_str(), target, sizeof target - 1) < 0)
                        continue;
                    const std::string t = target;
                    // The output may be renamed into place a moment before the
                    // host lets go of it.
                    if (t.rfind("socket:", 0) != 0 && t != slow && t != out + "/slow.pdf" &&
                        t.rfind(out + "/.pz-", 0) != 0)
                        files += t + "\n";
                }
                ::closedir(fds);
            }
        }
    });
    PdfMSSource s{};
    s.path = slow.c_str();
    PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss");
    m_service->EncryptPdf(&s, (out + "/slow.pdf").c_str(), &p, nullptr, nullptr);
    done = true;
    watch.join();
    ASSERT_GT(looked, 0) << "the host finished before it could be looked at";
    EXPECT_EQ("NoNewPrivs:\t1\nSeccomp:\t2\n", status);
    EXPECT_EQ("", files) << "files other than the socket, the source and the output";
    if (::geteuid() == 0) {
        EXPECT_GT(lookedAtFiles, 0);
    }
}

TEST_F(HostSandboxTest, ASourceReplacedUnderItsNameFailsTheFile) {
    // The host reads the file it was handed; the name must still be that file's.
    ASSERT_TRUE(TestPdf::WritePages(m_source, 2, 3u << 20));
    const std::string out = m_dir.file("out.pdf");
    PdfMSSource s{};
    s.path = m_source.c_str();
    PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss");
    struct Swap {
        std::string path;
        bool done = false;
    } swap{m_source};
    auto onProgress = [](void* data, int32_t, int32_t) -> int32_t {
        auto* w = static_cast<Swap*>(data);
        if (!w->done) {
            w->done = true;
            TempDir::WriteFile(w->path + ".new", "x");
            ::rename((w->path + ".new").c_str(), w->path.c_str());
        }
        return 0;
    };
    EXPECT_EQ(PDFMS_ERR_SOURCE_CHANGED,
              m_service->EncryptPdf(&s, out.c_str(), &p, &swap, onProgress));
    EXPECT_EQ("in.pdf", TempDir::ListDir(m_dir.path()));
}

} // namespace
