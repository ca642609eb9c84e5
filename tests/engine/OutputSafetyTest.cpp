// What the engine guarantees about the files around an output: modes, temporary
// files of its own and of others, what it may replace, and no core files.

#include "EngineTestSupport.h"

#include "TempDir.h"
#include "TestPdf.h"
#include "engine/PdfEngine.h"

#include <fstream>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

class OutputSafetyTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_service = std::make_unique<PdfEngineService>();
        m_source = m_dir.file("source.pdf");
        ASSERT_TRUE(TestPdf::WritePages(m_source, 1));
    }
    void TearDown() override {
        m_service.reset();
        EngineTest::TearDown();
    }
    int Encrypt(const std::string& out, PdfMSSource src = PdfMSSource{}) {
        src.path = m_source.c_str();
        PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_AES_128, "", "boss");
        return m_service->EncryptPdf(&src, out.c_str(), &p, nullptr, nullptr);
    }
    static unsigned Mode(const std::string& path) {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
    }

    TempDir m_dir;
    std::unique_ptr<EngineService> m_service;
    std::string m_source;
};

TEST_F(OutputSafetyTest, AnOutputIsNoMoreReadableThanItsSource) {
    const mode_t old = ::umask(022);
    ASSERT_EQ(0, ::chmod(m_source.c_str(), 0600));
    ASSERT_EQ(PDFMS_OK, Encrypt(m_dir.file("private.pdf")));
    EXPECT_EQ(0600u, Mode(m_dir.file("private.pdf")));
    ASSERT_EQ(0, ::chmod(m_source.c_str(), 0666));
    ASSERT_EQ(PDFMS_OK, Encrypt(m_dir.file("shared.pdf")));
    EXPECT_EQ(0644u, Mode(m_dir.file("shared.pdf"))) << "the umask still applies";
    ::umask(old);
}

TEST_F(OutputSafetyTest, StaleTemporaryFilesOfDeadWritersGoOthersStay) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(child, ::waitpid(child, nullptr, 0)); // a process id that is gone
    const std::string stale = ".pz-" + std::to_string(child) + "-0123456789abcdef.tmp";
    const std::string live = ".pz-1-0123456789abcdef.tmp"; // init never goes away
    for (const std::string& name : {stale, live, std::string("notes.tmp")})
        TempDir::WriteFile(m_dir.file(name), "x");
    ASSERT_EQ(PDFMS_OK, Encrypt(m_dir.file("out.pdf")));
    EXPECT_FALSE(TempDir::Exists(m_dir.file(stale)));
    EXPECT_TRUE(TempDir::Exists(m_dir.file(live)));
    EXPECT_TRUE(TempDir::Exists(m_dir.file("notes.tmp")));
}

TEST_F(OutputSafetyTest, AnOutputTheCallerProtectsIsNeverReplaced) {
    const std::string out = m_dir.file("out.pdf");
    TempDir::WriteFile(out, "the user's own file");
    PdfMSSource src{};
    src.mayReplace = [](void*, uint64_t, uint64_t) -> int32_t { return 0; };
    EXPECT_EQ(PDFMS_ERR_OUTPUT_EXISTS, Encrypt(out, src));
    EXPECT_EQ("the user's own file", TempDir::ReadFile(out));
    EXPECT_EQ("out.pdf,source.pdf", TempDir::ListDir(m_dir.path()));
    // Where nothing stood, nothing is asked.
    EXPECT_EQ(PDFMS_OK, Encrypt(m_dir.file("new.pdf"), src));
}

TEST_F(OutputSafetyTest, HostsLeaveNoCoreFile) {
    struct rlimit unlimited = {RLIM_INFINITY, RLIM_INFINITY};
    struct rlimit old;
    ::getrlimit(RLIMIT_CORE, &old);
    ::setrlimit(RLIMIT_CORE, &unlimited);
    // A plain core pattern writes into the host's working folder, ours.
    char cwd[4096];
    ASSERT_NE(nullptr, ::getcwd(cwd, sizeof cwd));
    ASSERT_EQ(0, ::chdir(m_dir.path().c_str()));
    const std::string slow = m_dir.file("slow.pdf");
    ASSERT_TRUE(TestPdf::WriteDeepPageTree(slow, 250000));
    std::string limits;
    std::thread probe([&] { m_service->GetOpenState(slow.c_str()); });
    for (int i = 0; i < 500 && limits.empty(); ++i) {
        for (int pid : PdfEngine::GetBusyHostPids()) {
            std::ifstream in("/proc/" + std::to_string(pid) + "/limits");
            std::string line;
            while (std::getline(in, line)) {
                if (line.rfind("Max core file size", 0) == 0)
                    limits = line;
            }
            ::kill(pid, SIGSEGV);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    probe.join();
    ::setrlimit(RLIMIT_CORE, &old);
    ASSERT_EQ(0, ::chdir(cwd));
    EXPECT_NE(std::string::npos, limits.find(" 0 ")) << limits;
    EXPECT_EQ(std::string::npos, TempDir::ListDir(m_dir.path()).find("core"));
}

} // namespace
