// What the library does when its host misbehaves, driven by the scripted fake host.

#include "EngineTestSupport.h"

#include "TempDir.h"
#include "TestPdf.h"
#include "engine/PdfEngine.h"

#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

class FakeHostTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        PdfEngine::SetHostProgram(PZ_FAKE_HOST);
        m_service = std::make_unique<PdfEngineService>();
        m_source = m_dir.file("in.pdf");
        ASSERT_TRUE(TestPdf::WritePages(m_source, 1));
        m_out = m_dir.file("out.pdf");
    }
    void TearDown() override {
        m_service.reset();
        ::unsetenv("PZ_FAKE_HOST");
        EngineTest::TearDown();
    }
    // The next host started behaves as `script` says.
    void Script(const std::string& script) {
        ::setenv("PZ_FAKE_HOST", script.c_str(), 1);
        PdfEngine::Reset();
    }
    int Encrypt(void* data = nullptr, PdfMSProgressFn fn = nullptr) {
        PdfMSSource s{};
        s.path = m_source.c_str();
        PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss");
        return m_service->EncryptPdf(&s, m_out.c_str(), &p, data, fn);
    }

    TempDir m_dir;
    std::unique_ptr<EngineService> m_service;
    std::string m_source;
    std::string m_out;
};

TEST_F(FakeHostTest, ABrokenReplyNeverYieldsAFileAndTheNextHostIsFine) {
    TempDir::WriteFile(m_out, "previous result");
    for (const char* how : {"garbled", "short", "wrong", "fatal", "crash"}) {
        SCOPED_TRACE(how);
        Script(std::string("encrypt=") + how);
        EXPECT_EQ(PDFMS_ERR_HOST, Encrypt());
        EXPECT_EQ("previous result", TempDir::ReadFile(m_out));
        EXPECT_EQ("in.pdf,out.pdf", TempDir::ListDir(m_dir.path()));
        // The broken host is gone; the next file gets a sound one.
        ::setenv("PZ_FAKE_HOST", "", 1);
        EXPECT_EQ(PDFMS_OK, Encrypt());
        TempDir::WriteFile(m_out, "previous result");
    }
    for (const char* how : {"garbled", "short", "wrong", "crash"}) {
        SCOPED_TRACE(how);
        Script(std::string("probe=") + how);
        EXPECT_EQ(PDFMS_OPEN_DAMAGED, m_service->GetOpenState(m_source.c_str()));
        PdfEngine::Reset(); // forget the cached answer
    }
}

TEST_F(FakeHostTest, HostsOfAnotherVersionOrSilentOnesAreNotUsed) {
    for (const char* hello : {"hello=old", "hello=garbled"}) {
        Script(hello);
        EXPECT_EQ(PDFMS_ERR_HOST, Encrypt()) << hello;
    }
    HostLimits tight;
    tight.baseSeconds = 0.3;
    tight.secondsPerMb = 0;
    PdfEngine::SetHostLimits(tight);
    Script("encrypt=silent");
    const auto start = Clock::now();
    EXPECT_EQ(PDFMS_ERR_HOST, Encrypt());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ("in.pdf", TempDir::ListDir(m_dir.path()));
}

TEST_F(FakeHostTest, TheHostsOwnFailureCodesReachTheCallerWithNothingWritten) {
    for (int code : {PDFMS_ERR_VERIFY, PDFMS_ERR_ENGINE, PDFMS_ERR_SOURCE_CHANGED}) {
        Script("encrypt=code:" + std::to_string(code));
        EXPECT_EQ(code, Encrypt());
        EXPECT_EQ("in.pdf", TempDir::ListDir(m_dir.path()));
    }
}

TEST_F(FakeHostTest, AnOutputFolderRemovedMidFileIsAnOutputFailure) {
    // The host's read-back then fails too; the folder, not the PDF, is to blame.
    Script("encrypt=slow+code:6");
    const std::string folder = m_dir.file("gone");
    TempDir::MakeDir(folder);
    m_out = folder + "/out.pdf";
    static std::string s_folder;
    s_folder = folder;
    auto removeFolder = [](void*, int32_t done, int32_t) -> int32_t {
        if (done == 10)
            std::system(("rm -rf '" + s_folder + "'").c_str());
        return PDFMS_PROGRESS_CONTINUE;
    };
    EXPECT_EQ(PDFMS_ERR_OUTPUT, Encrypt(nullptr, removeFolder));
}

TEST_F(FakeHostTest, StopDuringASlowWriteIsPromptAndLeavesTheOldOutput) {
    TempDir::WriteFile(m_out, "previous result");
    Script("encrypt=slow");
    struct StopState {
        int calls = 0;
        Clock::time_point stoppedAt;
    } st;
    auto stopLater = [](void* data, int32_t, int32_t) -> int32_t {
        auto* s = static_cast<StopState*>(data);
        if (++s->calls < 5)
            return PDFMS_PROGRESS_CONTINUE;
        if (s->calls == 5)
            s->stoppedAt = Clock::now();
        return PDFMS_PROGRESS_STOP;
    };
    EXPECT_EQ(PDFMS_ERR_STOPPED, Encrypt(&st, stopLater));
    EXPECT_LT(Clock::now() - st.stoppedAt, std::chrono::milliseconds(500));
    EXPECT_EQ("previous result", TempDir::ReadFile(m_out));
    EXPECT_EQ("in.pdf,out.pdf", TempDir::ListDir(m_dir.path()));
}

} // namespace
