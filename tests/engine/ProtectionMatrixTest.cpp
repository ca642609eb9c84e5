// What a protection promises, checked from outside: every level, every mix of
// passwords, both writers, each output opened by poppler, qpdf and MuPDF without
// a password, with the user password and with the owner password.

#include "EngineTestSupport.h"

#include "StructurePdf.h"
#include "TempDir.h"
#include "TestPdf.h"

#include <string>

namespace {

struct Passwords {
    const char* name;
    std::string user, owner;
};

const Passwords kPasswordCases[] = {
    {"user-only", "reader", ""},
    {"owner-only", "", "boss"},
    {"both", "reader", "boss"},
    {"both-equal", "same", "same"},
};

const char* const kAlgorithm[] = {"RC4", "RC4", "AES", "AES-256"};

class ProtectionMatrixTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_service = std::make_unique<PdfEngineService>();
    }
    void TearDown() override {
        m_service.reset();
        EngineTest::TearDown();
    }

    TempDir m_dir;
    std::unique_ptr<EngineService> m_service;
};

TEST_F(ProtectionMatrixTest, OnlyThePasswordsGivenOpenTheOutputWithTheRightsAsked) {
    // A clean source goes through the one-pass writer, one whose repair needs
    // qpdf's objects (a reference loop) through qpdf's.
    const std::string clean = m_dir.file("clean.pdf"), repaired = m_dir.file("repaired.pdf");
    ASSERT_TRUE(TestPdf::WritePages(clean, 1));
    ASSERT_TRUE(StructurePdf::Write(repaired, StructurePdf::Kind::ReferenceLoop));
    const struct {
        const std::string& source;
        int32_t writer;
    } writers[] = {{clean, PDFMS_WRITER_ONE_PASS}, {repaired, PDFMS_WRITER_QPDF}};

    for (const auto& writer : writers) {
        for (int level = PDFMS_LEVEL_RC4_40; level <= PDFMS_LEVEL_AES_256; ++level) {
            for (const Passwords& p : kPasswordCases) {
                const std::string name = std::to_string(writer.writer) + "-" +
                                         std::to_string(level) + "-" + p.name + ".pdf";
                SCOPED_TRACE(name);
                const std::string out = m_dir.file(name);
                PdfMSEncryptParams params = MakeParams(level, p.user.c_str(), p.owner.c_str());
                params.printing =
                    level == PDFMS_LEVEL_RC4_40 ? PDFMS_PRINT_ALLOWED : PDFMS_PRINT_LOW;
                params.copy = 1;
                PdfMSOutcome outcome{};
                PdfMSSource source{};
                source.path = writer.source.c_str();
                source.outcome = &outcome;
                ASSERT_EQ(PDFMS_OK,
                          m_service->EncryptPdf(&source, out.c_str(), &params, nullptr, nullptr));
                ASSERT_EQ(writer.writer, outcome.writer);

                const std::string algorithm = kAlgorithm[level];
                const std::string asked =
                    "print:yes copy:yes change:no addNotes:no algorithm:" + algorithm;
                // The owner password, when none was given, is the user password.
                const std::string owner = p.owner.empty() ? p.user : p.owner;

                const bool open = p.user.empty();
                EXPECT_EQ(open, ReadWithPoppler(out).opened);
                const QpdfView none = ReadWithQpdf(out, "");
                EXPECT_EQ(open, none.opened) << none.shown;
                EXPECT_FALSE(none.owner) << "an empty owner password works";
                EXPECT_EQ(open, OpensWithMuPdf(out, ""));
                if (!open) {
                    EXPECT_EQ(asked, ReadWithPoppler(out, p.user).permissions);
                    // Full rights when it is the owner password too.
                    EXPECT_EQ(owner == p.user, ReadWithPopplerAsOwner(out, p.user).opened);
                    const QpdfView qpdf = ReadWithQpdf(out, p.user);
                    EXPECT_TRUE(qpdf.opened) << qpdf.shown;
                    EXPECT_EQ(owner == p.user, qpdf.owner) << qpdf.shown;
                    EXPECT_TRUE(OpensWithMuPdf(out, p.user));
                } else {
                    EXPECT_EQ(asked, ReadWithPoppler(out).permissions);
                }
                // Readers grant the owner everything; pdfinfo lists /P whoever opened it.
                EXPECT_EQ(1, ReadWithPopplerAsOwner(out, owner).pages);
                EXPECT_TRUE(ReadWithQpdf(out, owner).owner);
                EXPECT_TRUE(OpensWithMuPdf(out, owner));
            }
        }
    }
}

TEST_F(ProtectionMatrixTest, NoPasswordAtAllIsRefused) {
    const std::string source = m_dir.file("source.pdf"), out = m_dir.file("out.pdf");
    ASSERT_TRUE(TestPdf::WritePages(source, 1));
    PdfMSSource src{};
    src.path = source.c_str();
    for (int level = PDFMS_LEVEL_RC4_40; level <= PDFMS_LEVEL_AES_256; ++level) {
        const PdfMSEncryptParams params = MakeParams(level, "", "");
        EXPECT_EQ(PDFMS_ERR_ARGUMENT,
                  m_service->EncryptPdf(&src, out.c_str(), &params, nullptr, nullptr));
    }
    EXPECT_FALSE(TempDir::Exists(out));
}

} // namespace
