#include "EngineTestSupport.h"

#include "TempDir.h"
#include "TestPdf.h"
#include "engine/PdfEngine.h"

#include <chrono>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Answers {
    int state;
    int encrypted;
    int pages;
};

class ProbeTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_service = std::make_unique<PdfEngineService>();
    }
    void TearDown() override {
        m_service.reset();
        EngineTest::TearDown();
    }
    Answers Ask(const std::string& path) {
        return {m_service->GetOpenState(path.c_str()), m_service->IsEncrypted(path.c_str()),
                m_service->GetPageCount(path.c_str())};
    }

    TempDir m_dir;
    std::unique_ptr<EngineService> m_service;
};

TEST_F(ProbeTest, ReadableFilesReportStatePagesAndEncryption) {
    const std::string clean = m_dir.file("clean.pdf");
    const std::string repair = m_dir.file("repair.pdf");
    const std::string empty = m_dir.file("nopages.pdf");
    const std::string owner = m_dir.file("owner.pdf");
    ASSERT_TRUE(TestPdf::WritePages(clean, 7));
    ASSERT_TRUE(TestPdf::WriteNeedsRepair(repair, 4));
    ASSERT_TRUE(TestPdf::WritePages(empty, 0));
    ASSERT_TRUE(TestPdf::WriteOwnerOnly(owner, "boss", 2));

    Answers a = Ask(clean);
    EXPECT_EQ(PDFMS_OPEN_OK, a.state);
    EXPECT_EQ(0, a.encrypted);
    EXPECT_EQ(7, a.pages);

    a = Ask(repair);
    EXPECT_EQ(PDFMS_OPEN_REPAIRED, a.state);
    EXPECT_EQ(0, a.encrypted);
    EXPECT_EQ(4, a.pages);

    // Repair that leaves no page would write an empty document: damaged.
    const std::string lost = m_dir.file("lost.pdf");
    ASSERT_TRUE(TestPdf::WriteNeedsRepair(lost, 0));
    a = Ask(lost);
    EXPECT_EQ(PDFMS_OPEN_DAMAGED, a.state);
    EXPECT_EQ(0, a.pages);

    // A clean file without pages opens; it is not damaged.
    a = Ask(empty);
    EXPECT_EQ(PDFMS_OPEN_OK, a.state);
    EXPECT_EQ(0, a.pages);

    // Owner-only files open, but count as encrypted so the list refuses them.
    a = Ask(owner);
    EXPECT_EQ(PDFMS_OPEN_OK, a.state);
    EXPECT_NE(0, a.encrypted);
    EXPECT_EQ(2, a.pages);
}

TEST_F(ProbeTest, UnusableFilesGetTheirOwnState) {
    const std::string user = m_dir.file("user.pdf");
    const std::string damaged = m_dir.file("damaged.pdf");
    const std::string text = m_dir.file("text.pdf");
    const std::string zero = m_dir.file("zero.pdf");
    const std::string folder = m_dir.file("folder.pdf");
    ASSERT_TRUE(TestPdf::WriteUserPassword(user, "open", "boss", 2));
    ASSERT_TRUE(TestPdf::WriteDamaged(damaged));
    ASSERT_TRUE(TestPdf::WriteNotPdf(text));
    TempDir::WriteFile(zero, "");
    TempDir::MakeDir(folder);

    Answers a = Ask(user);
    EXPECT_EQ(PDFMS_OPEN_ENCRYPTED, a.state);
    EXPECT_NE(0, a.encrypted);
    EXPECT_EQ(0, a.pages);

    a = Ask(damaged);
    EXPECT_EQ(PDFMS_OPEN_DAMAGED, a.state);
    EXPECT_EQ(0, a.pages);

    EXPECT_EQ(PDFMS_OPEN_NOT_PDF, Ask(text).state);
    EXPECT_EQ(PDFMS_OPEN_NOT_PDF, Ask(zero).state);
    EXPECT_EQ(PDFMS_OPEN_NOT_FILE, Ask(folder).state);
    EXPECT_EQ(PDFMS_OPEN_NOT_FILE, Ask(m_dir.file("missing.pdf")).state);
    EXPECT_EQ(PDFMS_OPEN_NOT_FILE, Ask("").state);
    EXPECT_EQ(PDFMS_OPEN_NOT_FILE, m_service->GetOpenState(nullptr));
}

TEST_F(ProbeTest, SpecialAndUnreadableFilesAreNotFiles) {
    const std::string fifo = m_dir.file("pipe.pdf");
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    const std::string link = m_dir.file("zero-link.pdf");
    ASSERT_EQ(0, ::symlink("/dev/zero", link.c_str()));

    // Opening either for reading would block or never end.
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PDFMS_OPEN_NOT_FILE, Ask(fifo).state);
    EXPECT_EQ(PDFMS_OPEN_NOT_FILE, Ask(link).state);
    EXPECT_EQ(PDFMS_OPEN_NOT_FILE, Ask("/dev/null").state);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    if (::geteuid() != 0) { // root reads every file
        const std::string locked = m_dir.file("locked.pdf");
        ASSERT_TRUE(TestPdf::WritePages(locked, 1));
        ASSERT_EQ(0, ::chmod(locked.c_str(), 0));
        EXPECT_EQ(PDFMS_OPEN_NOT_FILE, Ask(locked).state);
    }
}

TEST_F(ProbeTest, AReplacedFileIsProbedAfresh) {
    const std::string path = m_dir.file("changing.pdf");
    ASSERT_TRUE(TestPdf::WritePages(path, 2));
    EXPECT_EQ(2, Ask(path).pages);
    // A different size and time: the remembered answer must not be used.
    ASSERT_TRUE(TestPdf::WritePages(path + ".new", 5));
    ASSERT_EQ(0, ::rename((path + ".new").c_str(), path.c_str()));
    EXPECT_EQ(5, Ask(path).pages);
    ASSERT_TRUE(TestPdf::WriteDamaged(path));
    EXPECT_EQ(PDFMS_OPEN_DAMAGED, Ask(path).state);
}

TEST_F(ProbeTest, ASourcePasswordIsCheckedAsARunWouldUseIt) {
    // "open" opens both; "boss" owns them; the first forbids printing.
    const std::string restricted = m_dir.file("restricted.pdf");
    ASSERT_TRUE(TestPdf::WritePages(m_dir.file("p.pdf"), 3));
    ASSERT_EQ(0, std::system(("qpdf --encrypt open boss 256 --print=none -- '" +
                              m_dir.file("p.pdf") + "' '" + restricted + "'")
                                 .c_str()));
    const std::string free = m_dir.file("free.pdf");
    ASSERT_TRUE(TestPdf::WriteUserPassword(free, "open", "boss", 2));
    const std::string damaged = m_dir.file("damaged.pdf");
    ASSERT_TRUE(TestPdf::WriteDamaged(damaged));

    const struct {
        std::string path, password;
        int32_t code, pages;
    } cases[] = {{restricted, "boss", PDFMS_OK, 3},
                 {restricted, "open", PDFMS_ERR_SOURCE_RESTRICTED, 0},
                 {restricted, "guess", PDFMS_ERR_SOURCE_PASSWORD, 0},
                 {restricted, "", PDFMS_ERR_SOURCE_PASSWORD, 0},
                 {free, "open", PDFMS_OK, 2},
                 {damaged, "boss", PDFMS_ERR_SOURCE, 0},
                 {m_dir.file("missing.pdf"), "boss", PDFMS_ERR_SOURCE, 0}};
    for (const auto& c : cases) {
        int32_t pages = -1;
        EXPECT_EQ(c.code,
                  m_service->CheckSourcePassword(c.path.c_str(), c.password.c_str(), &pages))
            << c.path << " with " << c.password;
        EXPECT_EQ(c.pages, pages) << c.path << " with " << c.password;
    }
    EXPECT_EQ(PDFMS_ERR_ARGUMENT, m_service->CheckSourcePassword(free.c_str(), nullptr, nullptr));
}

TEST(ProbeWithoutHostTest, MissingHostProgramFailsTheFileAndRecoversOnceItIsThere) {
    TempDir dir;
    const std::string path = dir.file("doc.pdf");
    ASSERT_TRUE(TestPdf::WritePages(path, 2));
    PdfEngine::Reset();
    PdfEngine::SetHostProgram(dir.file("no-such-engine"));
    PdfEngineService s;
    EXPECT_EQ(PDFMS_OPEN_DAMAGED, s.GetOpenState(path.c_str()));
    PdfMSSource src{};
    src.path = path.c_str();
    PdfMSEncryptParams p = MakeParams(PDFMS_LEVEL_AES_128, "r", "o");
    EXPECT_EQ(PDFMS_ERR_HOST,
              s.EncryptPdf(&src, dir.file("out.pdf").c_str(), &p, nullptr, nullptr));
    // That failure was not remembered against the file.
    PdfEngine::SetHostProgram(PZ_ENGINE_HOST);
    EXPECT_EQ(PDFMS_OPEN_OK, s.GetOpenState(path.c_str()));
    PdfEngine::Reset();
}

} // namespace
