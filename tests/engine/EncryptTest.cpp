#include "EngineTestSupport.h"

#include "TempDir.h"
#include "TestPdf.h"

#include "engine/PdfEngine.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Permissions {
    const char* name;
    int printing;
    bool copy, modify, annotate, forms, accessibility, assemble;
};

const Permissions kPermissionSets[] = {
    {"nothing", PDFMS_PRINT_NONE, false, false, false, false, false, false},
    {"print-high-copy", PDFMS_PRINT_HIGH, true, false, false, false, false, false},
    {"print-low-modify-annotate", PDFMS_PRINT_LOW, false, true, true, false, false, false},
    {"forms-assemble-access", PDFMS_PRINT_NONE, false, false, false, true, true, true},
    {"everything", PDFMS_PRINT_HIGH, true, true, true, true, true, true},
};

// qpdf's own report of the encryption dictionary, read with the owner password.
std::string ShowEncryption(const std::string& path, const std::string& owner) {
    return RunCommand("qpdf --show-encryption --password=" + ShellQuote(owner) + " " +
                      ShellQuote(path))
        .output;
}

std::string Allowed(bool b) {
    return b ? "allowed" : "not allowed";
}

std::string YesNo(bool b) {
    return b ? "yes" : "no";
}

class EncryptTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_service = std::make_unique<PdfEngineService>();
        m_source = m_dir.file("source.pdf");
        ASSERT_TRUE(TestPdf::WritePages(m_source, 3));
    }
    void TearDown() override {
        m_service.reset();
        EngineTest::TearDown();
    }
    int Encrypt(const std::string& out, const PdfMSEncryptParams& params) {
        PdfMSSource src{};
        src.path = m_source.c_str();
        return m_service->EncryptPdf(&src, out.c_str(), &params, nullptr, nullptr);
    }

    TempDir m_dir;
    std::unique_ptr<EngineService> m_service;
    std::string m_source;
};

TEST_F(EncryptTest, EveryLevelWritesThePermissionsAsked) {
    const char* algorithm[] = {"RC4", "RC4", "AES", "AES-256"};
    const char* revision[] = {"R = 2", "R = 3", "R = 4", "R = 6"};
    for (int level = 0; level <= 3; ++level) {
        for (const Permissions& p : kPermissionSets) {
            SCOPED_TRACE(std::string("level ") + std::to_string(level) + " " + p.name);
            PdfMSEncryptParams params = MakeParams(level, "reader", "boss");
            params.printing = level == 0 && p.printing ? PDFMS_PRINT_ALLOWED : p.printing;
            params.copy = p.copy;
            params.modify = p.modify;
            params.annotate = p.annotate;
            params.fillForms = p.forms;
            params.accessibility = p.accessibility;
            params.assemble = p.assemble;
            const std::string out =
                m_dir.file("out-" + std::to_string(level) + "-" + p.name + ".pdf");
            ASSERT_EQ(PDFMS_OK, Encrypt(out, params));

            EXPECT_FALSE(ReadWithPoppler(out).opened) << "opened without the user password";
            PopplerView v = ReadWithPoppler(out, "reader");
            ASSERT_TRUE(v.opened);
            EXPECT_EQ(3, v.pages);
            EXPECT_TRUE(v.encrypted);
            std::string expected = "print:" + YesNo(p.printing != PDFMS_PRINT_NONE) +
                                   " copy:" + YesNo(p.copy) + " change:" + YesNo(p.modify) +
                                   " addNotes:" + YesNo(p.annotate) +
                                   " algorithm:" + algorithm[level];
            EXPECT_EQ(expected, v.permissions);

            std::string shown = ShowEncryption(out, "boss");
            EXPECT_NE(std::string::npos, shown.find(revision[level])) << shown;
            // MuPDF decrypts it too, and reads the same revision and permission word.
            std::string mu = RunCommand("mutool info -p reader " + ShellQuote(out)).output;
            EXPECT_NE(std::string::npos, mu.find("Pages: 3")) << mu;
            EXPECT_NE(std::string::npos, mu.find("/R " + std::string(revision[level] + 4))) << mu;
            size_t at = shown.find("P = ");
            ASSERT_NE(std::string::npos, at) << shown;
            std::string word = shown.substr(at + 4, shown.find('\n', at) - at - 4);
            EXPECT_NE(std::string::npos, mu.find("/P " + word + ">>")) << mu;
            if (level > 0) {
                // The accessibility bit is always set at the AES levels.
                const std::pair<std::string, bool> lines[] = {
                    {"print high resolution: ", p.printing == PDFMS_PRINT_HIGH},
                    {"print low resolution: ", p.printing != PDFMS_PRINT_NONE},
                    {"modify document assembly: ", p.assemble},
                    {"modify forms: ", p.forms},
                    {"extract for accessibility: ", p.accessibility || level >= 2}};
                for (const auto& line : lines)
                    EXPECT_NE(std::string::npos, shown.find(line.first + Allowed(line.second)))
                        << shown;
            }
        }
    }
}

TEST_F(EncryptTest, OneOfThePasswordsAlone) {
    PdfMSEncryptParams params = MakeParams(PDFMS_LEVEL_AES_128, "", "boss");
    params.printing = PDFMS_PRINT_LOW;
    const std::string ownerOnly = m_dir.file("owner-only.pdf");
    ASSERT_EQ(PDFMS_OK, Encrypt(ownerOnly, params));
    PopplerView v = ReadWithPoppler(ownerOnly);
    ASSERT_TRUE(v.opened) << "an owner password alone must not lock the reader out";
    EXPECT_EQ(3, v.pages);
    EXPECT_EQ("print:yes copy:no change:no addNotes:no algorithm:AES", v.permissions);

    const std::string userOnly = m_dir.file("user-only.pdf");
    ASSERT_EQ(PDFMS_OK, Encrypt(userOnly, MakeParams(PDFMS_LEVEL_RC4_128, "reader", "")));
    EXPECT_FALSE(ReadWithPoppler(userOnly).opened);
    EXPECT_FALSE(ReadWithPoppler(userOnly, "wrong").opened);
    EXPECT_EQ(3, ReadWithPoppler(userOnly, "reader").pages);
}

TEST_F(EncryptTest, SourceStaysUntouchedOutputReplacesAnOldFileAndProgressEnds) {
    const std::string before = TempDir::ReadFile(m_source);
    const std::string out = m_dir.file("out.pdf");
    TempDir::WriteFile(out, "old content");
    std::vector<int> seen;
    auto record = [](void* data, int32_t done, int32_t total) -> int32_t {
        if (total == 100)
            static_cast<std::vector<int>*>(data)->push_back(done);
        return PDFMS_PROGRESS_CONTINUE;
    };
    PdfMSSource src{};
    src.path = m_source.c_str();
    PdfMSEncryptParams params = MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss");
    ASSERT_EQ(PDFMS_OK, m_service->EncryptPdf(&src, out.c_str(), &params, &seen, record));
    EXPECT_EQ(before, TempDir::ReadFile(m_source));
    EXPECT_TRUE(ReadWithPoppler(out, "reader").opened);
    // Only the source and the output: no temporary file left behind.
    EXPECT_EQ("out.pdf,source.pdf", TempDir::ListDir(m_dir.path()));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(100, seen.back());
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_LE(seen[i - 1], seen[i]);
}

TEST_F(EncryptTest, RepairedSourceIsWrittenWithAllItsPages) {
    ASSERT_TRUE(TestPdf::WriteNeedsRepair(m_source, 4));
    const std::string out = m_dir.file("repaired.pdf");
    ASSERT_EQ(PDFMS_OK, Encrypt(out, MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss")));
    EXPECT_EQ(4, ReadWithPoppler(out, "reader").pages);
}

TEST_F(EncryptTest, FailuresHaveDistinctCodesAndLeaveNothing) {
    const PdfMSEncryptParams params = MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss");
    const std::string out = m_dir.file("out.pdf");

    m_source = m_dir.file("missing.pdf");
    EXPECT_EQ(PDFMS_ERR_SOURCE, Encrypt(out, params));
    m_source = m_dir.file("damaged.pdf");
    ASSERT_TRUE(TestPdf::WriteDamaged(m_source));
    EXPECT_EQ(PDFMS_ERR_SOURCE, Encrypt(out, params));
    m_source = m_dir.file("lost.pdf");
    ASSERT_TRUE(TestPdf::WriteNeedsRepair(m_source, 0));
    EXPECT_EQ(PDFMS_ERR_SOURCE, Encrypt(out, params));
    m_source = m_dir.file("text.pdf");
    ASSERT_TRUE(TestPdf::WriteNotPdf(m_source));
    EXPECT_EQ(PDFMS_ERR_SOURCE, Encrypt(out, params));
    m_source = m_dir.file("locked.pdf");
    ASSERT_TRUE(TestPdf::WriteUserPassword(m_source, "open", "boss", 1));
    EXPECT_EQ(PDFMS_ERR_SOURCE_PASSWORD, Encrypt(out, params));
    // Re-encrypting would lift the owner's restrictions.
    m_source = m_dir.file("owner.pdf");
    ASSERT_TRUE(TestPdf::WriteOwnerOnly(m_source, "boss", 1));
    EXPECT_EQ(PDFMS_ERR_SOURCE_PASSWORD, Encrypt(out, params));

    m_source = m_dir.file("good.pdf");
    ASSERT_TRUE(TestPdf::WritePages(m_source, 1));
    EXPECT_EQ(PDFMS_ERR_OUTPUT, Encrypt(m_dir.file("no/such/folder/out.pdf"), params));
    // A folder nobody may create files in, root included.
    EXPECT_EQ(PDFMS_ERR_OUTPUT, Encrypt("/proc/pz-out.pdf", params));
    if (::geteuid() != 0) { // root writes everywhere
        const std::string folder = m_dir.file("ro");
        TempDir::MakeDir(folder);
        ASSERT_EQ(0, ::chmod(folder.c_str(), 0555));
        EXPECT_EQ(PDFMS_ERR_OUTPUT, Encrypt(folder + "/out.pdf", params));
    }
    // The output naming the source would destroy it.
    EXPECT_EQ(PDFMS_ERR_OUTPUT, Encrypt(m_source, params));
    EXPECT_TRUE(ReadWithPoppler(m_source).opened);

    PdfMSEncryptParams bad = params;
    bad.level = 4;
    EXPECT_EQ(PDFMS_ERR_ARGUMENT, Encrypt(out, bad));
    EXPECT_EQ(PDFMS_ERR_ARGUMENT,
              m_service->EncryptPdf(nullptr, out.c_str(), &params, nullptr, nullptr));
    EXPECT_FALSE(TempDir::Exists(out));
    EXPECT_EQ(std::string::npos, TempDir::ListDir(m_dir.path()).find(".pz-"));
}

TEST_F(EncryptTest, OutputThatCannotBeWrittenToTheEndFailsAndLeavesNothing) {
    ASSERT_TRUE(TestPdf::WritePages(m_source, 2, 3u << 20));
    const std::string out = m_dir.file("out.pdf");
    TempDir::WriteFile(out, "previous result");
    // A file-size limit stands in for a full disk: writes past it fail. The host
    // started below inherits it.
    struct rlimit old;
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &old));
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1u << 20;
    PdfEngine::Reset();
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &small));
    int code = Encrypt(out, MakeParams(PDFMS_LEVEL_AES_128, "reader", "boss"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    PdfEngine::Reset();
    EXPECT_EQ(PDFMS_ERR_OUTPUT, code);
    EXPECT_EQ("previous result", TempDir::ReadFile(out));
    EXPECT_EQ("out.pdf,source.pdf", TempDir::ListDir(m_dir.path()));
}

} // namespace
