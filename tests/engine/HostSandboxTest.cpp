// The engine host as a confined process: it gets its files as descriptors and
// holds no other file while it works.

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
        m_service = CreatePdfMSService();
        m_source = m_dir.file("in.pdf");
        ASSERT_TRUE(TestPdf::WritePages(m_source, 2));
    }
    void TearDown() override {
        FreePdfMSService(m_service);
        EngineTest::TearDown();
    }

    TempDir m_dir;
    PdfMSService* m_service = nullptr;
    std::string m_source;
};

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
              m_service->EncryptPdf(m_service, &s, out.c_str(), &p, &swap, onProgress));
    EXPECT_EQ("in.pdf", TempDir::ListDir(m_dir.path()));
}

} // namespace
