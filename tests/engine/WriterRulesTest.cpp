// Rules both writers share: permission bits, password encodings, the source's
// identity and permission bits, warnings the source already had; and what the
// check of a one-pass output catches.

#include "PopplerCheck.h"
#include "StructurePdf.h"
#include "TempDir.h"
#include "TestPdf.h"

#include "engine/api/EngineService.h"
#include "engine/host/FileSink.h"
#include "engine/host/MappedInput.h"
#include "engine/host/OnePassWriter.h"
#include "engine/host/OpenDocument.h"
#include "engine/host/OutputCheck.h"
#include "engine/host/PageTree.h"
#include "engine/host/PdfWorker.h"
#include "engine/host/SourceLayout.h"
#include "engine/host/SourceWindow.h"
#include "engine/host/StandardSecurity.h"

#include <qpdf/QPDF.hh>

#include <cstring>
#include <map>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class WriterRules : public ::testing::Test {
protected:
    void SetUp() override {
        m_clean = m_dir.file("clean.pdf");
        m_repair = m_dir.file("repair.pdf");
        ASSERT_TRUE(TestPdf::WritePages(m_clean, 2));
        WriteForQpdf(m_repair, 2);
    }
    // A source only qpdf's writer takes: its first page has no /Type, which qpdf
    // adds when it lists the pages.
    static void WriteForQpdf(const std::string& path, int pages, uint64_t bytes = 0) {
        ASSERT_TRUE(TestPdf::WritePages(path, pages, bytes));
        std::string text = TempDir::ReadFile(path);
        const size_t at = text.find("/Type /Page ");
        ASSERT_NE(std::string::npos, at);
        text.replace(at, 12, std::string(12, ' '));
        TempDir::WriteFile(path, text);
    }
    void TearDown() override {
        for (const auto& held : m_outputs)
            ::close(held.first);
        for (int fd : m_sources)
            ::close(fd);
    }
    // The files open as the engine library hands them to its host.
    EncryptRequest Request(const std::string& source, int level) {
        EncryptRequest r;
        const std::string out = m_dir.file("out" + std::to_string(m_count++) + ".pdf");
        TempDir::WriteFile(out, ""); // the library makes the temporary file
        r.source = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        r.temp = ::open(out.c_str(), O_RDWR | O_CLOEXEC);
        m_sources.push_back(r.source);
        m_outputs[r.temp] = out;
        r.level = level;
        r.user = "reader";
        r.owner = "boss";
        return r;
    }
    // Where the request's output was written.
    const std::string& Out(const EncryptRequest& r) const { return m_outputs.at(r.temp); }
    EncryptResult Run(
        const EncryptRequest& r, const std::function<void(int)>& progress = [](int) {}) {
        PdfWorker worker;
        return worker.Encrypt(r, progress);
    }

    TempDir m_dir;
    std::string m_clean, m_repair;
    int m_count = 0;
    std::vector<int> m_sources;
    std::map<int, std::string> m_outputs;
};

// The /P word as qpdf reads it back.
int32_t PermissionWord(const std::string& path, const std::string& password) {
    QPDF pdf;
    pdf.processFile(path.c_str(), password.c_str());
    int R = 0, P = 0;
    pdf.isEncrypted(R, P);
    return P;
}

TEST_F(WriterRules, BothWritersSetTheSamePermissionBits) {
    struct Asked {
        int printing;
        bool copy, modify, annotate, forms, accessibility, assemble;
    };
    const Asked asked[] = {{PDFMS_PRINT_NONE, false, false, false, false, false, false},
                           {PDFMS_PRINT_LOW, true, false, true, false, false, true},
                           {PDFMS_PRINT_HIGH, false, true, false, true, true, false},
                           {PDFMS_PRINT_HIGH, true, true, true, true, true, true}};
    for (int level = 0; level < 4; ++level) {
        for (const Asked& a : asked) {
            SCOPED_TRACE("level " + std::to_string(level) + " printing " +
                         std::to_string(a.printing));
            int32_t words[2];
            WriterUsed writers[2];
            for (int k = 0; k < 2; ++k) {
                EncryptRequest r = Request(k ? m_repair : m_clean, level);
                r.printing = a.printing;
                r.copy = a.copy, r.modify = a.modify, r.annotate = a.annotate;
                r.forms = a.forms, r.accessibility = a.accessibility, r.assemble = a.assemble;
                EncryptResult result = Run(r);
                ASSERT_EQ(PDFMS_OK, result.code);
                writers[k] = result.writer;
                words[k] = PermissionWord(Out(r), "boss");
            }
            EXPECT_EQ(WriterUsed::OnePass, writers[0]);
            EXPECT_EQ(WriterUsed::Qpdf, writers[1]);
            EXPECT_EQ(words[0], words[1]);
            auto bit = [&](int n) { return (words[0] >> (n - 1)) & 1; };
            EXPECT_EQ(a.printing != PDFMS_PRINT_NONE, bit(3));
            EXPECT_EQ(a.modify, bit(4));
            EXPECT_EQ(a.copy, bit(5));
            EXPECT_EQ(a.annotate, bit(6));
            if (level > 0) {
                EXPECT_EQ(a.forms, bit(9));
                // Always set at the AES levels, exactly as asked at RC4.
                EXPECT_EQ(a.accessibility || level >= 2, bit(10));
                EXPECT_EQ(a.assemble, bit(11));
                EXPECT_EQ(a.printing == PDFMS_PRINT_HIGH, bit(12));
            }
        }
    }
}

TEST_F(WriterRules, PasswordsAreEncodedForTheLevel) {
    // AES-256: UTF-8 after SASLprep, so a decomposed "é" opens with the composed one.
    for (const std::string& source : {m_clean, m_repair}) {
        EncryptRequest r = Request(source, PDFMS_LEVEL_AES_256);
        r.user = "caf\x65\xcc\x81";
        r.owner = "\xd0\x96\xd1\x83\xd0\xba"; // "Жук"
        ASSERT_EQ(PDFMS_OK, Run(r).code);
        EXPECT_EQ(2, ReadWithPoppler(Out(r), "caf\xc3\xa9").pages);
        EXPECT_EQ(0,
                  RunCommand("qpdf --check --password=\xd0\x96\xd1\x83\xd0\xba " + Out(r)).status);
    }
    // RC4 and AES-128: PDFDocEncoding; "é€" is 0xE9 0xA0 there.
    for (int level = 0; level <= 2; ++level) {
        for (const std::string& source : {m_clean, m_repair}) {
            SCOPED_TRACE("level " + std::to_string(level) + " " + source);
            EncryptRequest r = Request(source, level);
            r.user = "\xc3\xa9\xe2\x82\xac";
            ASSERT_EQ(PDFMS_OK, Run(r).code);
            QPDF pdf;
            pdf.processFile(Out(r).c_str(), "\xe9\xa0");
            EXPECT_TRUE(pdf.userPasswordMatched());
            EXPECT_NE(std::string::npos, RunCommand("mutool info -p \xc3\xa9\xe2\x82\xac " + Out(r))
                                             .output.find("Pages: 2"));
            // Cyrillic has no PDFDocEncoding code: refused, nothing written.
            EncryptRequest refused = Request(source, level);
            refused.owner = "\xd0\x96\xd1\x83\xd0\xba";
            EncryptResult result = Run(refused);
            EXPECT_EQ(PDFMS_ERR_ARGUMENT, result.code);
            EXPECT_EQ("", TempDir::ReadFile(Out(refused))); // nothing written
        }
    }
    EncryptRequest broken = Request(m_clean, PDFMS_LEVEL_AES_256);
    broken.user = "\xff";
    EXPECT_EQ(PDFMS_ERR_ARGUMENT, Run(broken).code);
    // An empty owner password opens an AES-256 file: the host never writes one.
    EncryptRequest open = Request(m_clean, PDFMS_LEVEL_AES_256);
    open.owner = "";
    EXPECT_EQ(PDFMS_ERR_ARGUMENT, Run(open).code);
}

TEST_F(WriterRules, SourceThatChangesDuringTheWriteFailsTheFile) {
    // The first progress report rewrites the source in place, or cuts it short
    // under the mapping both writers read. (A file renamed over the source's name
    // is the library's to notice: the worker reads the file it was given.)
    for (bool cut : {false, true}) {
        ASSERT_TRUE(TestPdf::WritePages(m_clean, 2, 3u << 20)); // several progress steps
        WriteForQpdf(m_repair, 2, 3u << 20);
        for (const std::string& source : {m_clean, m_repair}) {
            SCOPED_TRACE(source + (cut ? " cut" : " rewritten"));
            EncryptRequest r = Request(source, PDFMS_LEVEL_AES_128);
            bool touched = false;
            EncryptResult result = Run(r, [&](int) {
                if (touched)
                    return;
                touched = true;
                if (cut) {
                    ASSERT_EQ(0, ::truncate(source.c_str(), 1000));
                    return;
                }
                TempDir::WriteFile(source, "x");
            });
            EXPECT_TRUE(touched);
            EXPECT_EQ(PDFMS_ERR_SOURCE_CHANGED, result.code);
        }
    }
}

TEST_F(WriterRules, WarningsTheSourceAlreadyHadDoNotFailTheOutput) {
    const std::string source = m_dir.file("stray.pdf");
    ASSERT_TRUE(StructurePdf::Write(source, StructurePdf::Kind::StrayHash));
    EncryptRequest r = Request(source, PDFMS_LEVEL_AES_128);
    EncryptResult result = Run(r);
    EXPECT_EQ(PDFMS_OK, result.code);
    EXPECT_EQ(WriterUsed::OnePass, result.writer); // the name is copied as it is
    EXPECT_EQ(1, ReadWithPoppler(Out(r), "reader").pages);
}

// Writes `source` with the one-pass writer as the worker would, and keeps what
// the output check needs.
struct OnePassRun {
    OpenDocument doc;
    std::unique_ptr<SourceWindow> window;
    SourceLayout layout;
    StandardSecurity security;
    std::unique_ptr<OnePassWriter> writer;
    PageTree tree; // walked as the probe walks a source with object streams
    bool walked = false;
    int32_t pages = 0;

    bool Write(const std::string& source, const std::string& out) {
        std::string why;
        EncryptRequest r;
        r.level = PDFMS_LEVEL_AES_128;
        r.user = "reader";
        if (doc.Open(source, nullptr) != PDFMS_OPEN_OK)
            return false;
        window = SourceWindow::Open(source, SourceLayout::kMaxObjectBytes);
        if (!layout.Read(*doc.pdf, *window, why) || security.Setup(r, "0123456789abcdef") != 0)
            return false;
        std::vector<std::string> raised;
        walked = !layout.compressed().empty() && tree.Walk(*doc.pdf, why, raised);
        pages = walked ? tree.pages() : doc.CountPages();
        FileSink sink(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
        writer = std::make_unique<OnePassWriter>(*doc.pdf, layout, *window, security);
        writer->Write(sink, "0123456789abcdef", "fedcba9876543210", [](int) {});
        return sink.Commit();
    }
    // `sampled`: with the spread of objects as well as the page tree.
    bool Check(const std::string& out, bool sampled = true) {
        const int fd = ::open(out.c_str(), O_RDONLY | O_CLOEXEC);
        const bool good = Check(fd, sampled);
        ::close(fd);
        return good;
    }
    bool Check(int out, bool sampled) {
        OutputCheck check;
        check.SetSourceInput(doc.input.get()); // as the worker reads the source
        const PageTree* probed = walked ? &tree : nullptr;
        return check.Open(out, "reader") &&
               (!sampled || check.MatchesOnePassWrite(writer->written(), layout, *doc.pdf)) &&
               (layout.compressed().empty()
                    ? check.SamePageCount(*doc.pdf, pages, probed)
                    : check.SamePageTree(*doc.pdf, layout, writer->written(), pages, probed));
    }
};

TEST_F(WriterRules, OutputCheckCatchesWrongOffsetsShortWritesAndWrongKeys) {
    const std::string source = m_dir.file("features.pdf");
    ASSERT_TRUE(StructurePdf::Write(source, StructurePdf::Kind::Features));
    const std::string out = m_dir.file("written.pdf");
    OnePassRun run;
    ASSERT_TRUE(run.Write(source, out));
    ASSERT_TRUE(run.Check(out));
    const std::string good = TempDir::ReadFile(out);

    // One byte more after the header: every object is off by one, the table agrees
    // with the writer.
    std::string shifted = good;
    shifted.insert(shifted.find("1 0 obj"), " ");
    TempDir::WriteFile(out, shifted);
    EXPECT_FALSE(run.Check(out)) << "wrong offsets";

    TempDir::WriteFile(out, good.substr(0, good.size() - 100));
    EXPECT_FALSE(run.Check(out)) << "short write";

    // A string encrypted with another key decrypts to other bytes: one in a
    // dictionary, one that is a whole object. One byte changes, away from escapes.
    auto plain = [](char c) { return c != '\\' && c != '(' && c != ')' && c != '\r'; };
    for (const char* marker : {"/Title (", "11 1 obj\n("}) {
        std::string rekeyed = good;
        size_t at = rekeyed.find(marker);
        ASSERT_NE(std::string::npos, at) << marker;
        at += std::strlen(marker) + 20;
        while (!plain(rekeyed[at]) || !plain(rekeyed[at] ^ 1) || rekeyed[at - 1] == '\\')
            ++at;
        rekeyed[at] = static_cast<char>(rekeyed[at] ^ 1);
        TempDir::WriteFile(out, rekeyed);
        EXPECT_FALSE(run.Check(out)) << "wrong key in " << marker;
    }

    // The page count follows the output's own tree: a tree listing the font
    // where the page was must not pass on the source's listing.
    std::string moved = good;
    const size_t kids = moved.find("/Kids [3 0 R]");
    ASSERT_NE(std::string::npos, kids);
    moved[kids + 7] = '4';
    TempDir::WriteFile(out, moved);
    EXPECT_FALSE(run.Check(out, false)) << "page tree";

    // Objects in an object stream are checked through the stream's bytes, the
    // page tree through the nodes the probe's walk found.
    ASSERT_TRUE(StructurePdf::Write(source, StructurePdf::Kind::ObjectStreams));
    OnePassRun packed;
    ASSERT_TRUE(packed.Write(source, out));
    ASSERT_TRUE(packed.walked);
    ASSERT_TRUE(packed.Check(out));
    std::string bytes = TempDir::ReadFile(out);
    size_t data = bytes.find("stream\n", bytes.find("/Type /ObjStm")) + 7 + 20;
    bytes[data] = static_cast<char>(bytes[data] ^ 1);
    TempDir::WriteFile(out, bytes);
    EXPECT_FALSE(packed.Check(out)) << "object stream";
    EXPECT_FALSE(packed.Check(out, false)) << "object stream, page tree alone";
}

} // namespace
