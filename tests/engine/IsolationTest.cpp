#include "EngineTestSupport.h"

#include "TempDir.h"
#include "TestPdf.h"
#include "engine/PdfEngine.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Parsing this takes the host a second or more: long enough to crash it, time it
// out or stop it on purpose.
constexpr int kSlowDepth = 250000;

class IsolationTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_service = std::make_unique<PdfEngineService>();
        m_slow = m_dir.file("slow.pdf");
        m_good = m_dir.file("good.pdf");
        ASSERT_TRUE(TestPdf::WriteDeepPageTree(m_slow, kSlowDepth));
        ASSERT_TRUE(TestPdf::WritePages(m_good, 2));
    }
    void TearDown() override {
        m_service.reset();
        EngineTest::TearDown();
    }

    // Kills the first host that gets busy with `sig`, as a crash would.
    static std::thread CrashFirstBusyHost(int sig) {
        return std::thread([sig] {
            auto end = Clock::now() + std::chrono::seconds(10);
            while (Clock::now() < end) {
                auto pids = PdfEngine::GetBusyHostPids();
                if (!pids.empty()) {
                    // Give it a moment to be inside qpdf rather than between messages.
                    std::this_thread::sleep_for(std::chrono::milliseconds(150));
                    ::kill(pids.front(), sig);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }

    int Encrypt(const std::string& src, const std::string& out, void* data = nullptr,
                PdfMSProgressFn fn = nullptr) {
        PdfMSSource s{};
        s.path = src.c_str();
        PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss");
        return m_service->EncryptPdf(&s, out.c_str(), &p, data, fn);
    }

    void ExpectOnlyFiles(const std::string& listing) {
        EXPECT_EQ(listing, TempDir::ListDir(m_dir.path()));
    }

    TempDir m_dir;
    std::unique_ptr<EngineService> m_service;
    std::string m_slow;
    std::string m_good;
};

TEST_F(IsolationTest, CrashDuringProbeFailsThatFileOnly) {
    std::thread killer = CrashFirstBusyHost(SIGSEGV);
    int state = m_service->GetOpenState(m_slow.c_str());
    killer.join();
    EXPECT_EQ(PDFMS_OPEN_DAMAGED, state);
    // The failure is remembered for this file's other questions...
    EXPECT_EQ(0, m_service->GetPageCount(m_slow.c_str()));
    // ...and the next file is served by a fresh host.
    EXPECT_EQ(PDFMS_OPEN_OK, m_service->GetOpenState(m_good.c_str()));
    EXPECT_EQ(2, m_service->GetPageCount(m_good.c_str()));
}

TEST_F(IsolationTest, CrashDuringEncryptionLeavesOldOutputAndNoTemporaryFile) {
    const std::string out = m_dir.file("out.pdf");
    TempDir::WriteFile(out, "previous result");
    std::thread killer = CrashFirstBusyHost(SIGKILL);
    int code = Encrypt(m_slow, out);
    killer.join();
    EXPECT_EQ(PDFMS_ERR_HOST, code);
    EXPECT_EQ("previous result", TempDir::ReadFile(out));
    ExpectOnlyFiles("good.pdf,out.pdf,slow.pdf");
    EXPECT_EQ(PDFMS_OK, Encrypt(m_good, m_dir.file("next.pdf")));
}

TEST_F(IsolationTest, HostOverItsTimeIsKilledAndReplaced) {
    HostLimits tight;
    tight.baseSeconds = 0.2;
    tight.secondsPerMb = 0;
    PdfEngine::SetHostLimits(tight);
    auto start = Clock::now();
    EXPECT_EQ(PDFMS_OPEN_DAMAGED, m_service->GetOpenState(m_slow.c_str()));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(PDFMS_ERR_HOST, Encrypt(m_slow, m_dir.file("out.pdf")));
    ExpectOnlyFiles("good.pdf,slow.pdf");

    PdfEngine::SetHostLimits(HostLimits());
    EXPECT_EQ(PDFMS_OPEN_OK, m_service->GetOpenState(m_good.c_str()));
}

TEST_F(IsolationTest, HostOverItsMemoryCapFailsThatFileOnly) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds run the host without its memory cap";
#endif
    HostLimits small;
    small.memoryMb = 40;
    small.stackMb = 16;
    PdfEngine::SetHostLimits(small);
    EXPECT_EQ(PDFMS_ERR_HOST, Encrypt(m_slow, m_dir.file("out.pdf")));
    ExpectOnlyFiles("good.pdf,slow.pdf");
    EXPECT_EQ(PDFMS_OK, Encrypt(m_good, m_dir.file("next.pdf")));
}

TEST_F(IsolationTest, ManyHostsShareTheMachinesMemory) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds run the host without its memory cap";
#endif
    // Sixty-four hosts with 2 GB each would promise far more than this machine has.
    PdfEngine::SetExpectedHosts(64);
    std::thread crash = CrashFirstBusyHost(SIGKILL);
    unsigned long long capMb = 0;
    std::thread watch([&] {
        for (int i = 0; i < 500 && capMb == 0; ++i) {
            for (int pid : PdfEngine::GetBusyHostPids()) {
                std::ifstream in("/proc/" + std::to_string(pid) + "/limits");
                for (std::string line; std::getline(in, line);) {
                    if (line.rfind("Max address space", 0) == 0)
                        capMb = std::stoull(line.substr(26)) >> 20;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    m_service->GetOpenState(m_slow.c_str());
    watch.join();
    crash.join();
    const unsigned long share = PdfEngine::HostMemoryMb();
    PdfEngine::SetExpectedHosts(2);
    const HostLimits defaults;
    ASSERT_GT(capMb, 0u);
    EXPECT_LT(capMb, defaults.memoryMb + defaults.stackMb);
    EXPECT_NEAR(static_cast<double>(capMb), static_cast<double>(share + defaults.stackMb), 64);
}

TEST_F(IsolationTest, DecompressionBombIsCopiedWithoutInflating) {
    const std::string bomb = m_dir.file("bomb.pdf");
    ASSERT_TRUE(TestPdf::WriteDecompressionBomb(bomb, 256ull << 20));
    const std::string out = m_dir.file("bomb-out.pdf");
    auto start = Clock::now();
    ASSERT_EQ(PDFMS_OK, Encrypt(bomb, out));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_LT(TempDir::ReadFile(out).size(), 4u << 20);
    EXPECT_EQ(1, ReadWithPoppler(out, "reader").pages);
}

TEST_F(IsolationTest, ParallelCallersEachGetAHost) {
    std::atomic<int> ok{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < 3; ++i) {
        workers.emplace_back([&, i] {
            PdfEngineService s;
            for (int k = 0; k < 4; ++k) {
                PdfMSSource src{};
                src.path = m_good.c_str();
                PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_RC4_128, "r", "o");
                std::string out = m_dir.file("p" + std::to_string(i) + std::to_string(k) + ".pdf");
                if (s.EncryptPdf(&src, out.c_str(), &p, nullptr, nullptr) == PDFMS_OK &&
                    ReadWithPoppler(out, "r").pages == 2)
                    ++ok;
            }
        });
    }
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(12, ok.load());
}

} // namespace
