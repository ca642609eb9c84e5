// The one-pass writer against real and generated files: the output, decrypted by
// qpdf, holds exactly the source's objects and poppler draws it as the source.

#include "PopplerCheck.h"
#include "QdfView.h"
#include "StructurePdf.h"
#include "TempDir.h"
#include "TestPdf.h"

#include "engine/api/EngineService.h"
#include "engine/host/LiteralString.h"
#include "engine/host/PdfScanner.h"
#include "engine/host/PdfWorker.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kLevelNames[] = {"rc4-40", "rc4-128", "aes-128", "aes-256"};

EncryptResult EncryptAs(const std::string& source, const std::string& out, int level) {
    PdfWorker worker;
    EncryptRequest r;
    TempDir::WriteFile(out, ""); // the library makes the temporary file
    r.source = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    r.temp = ::open(out.c_str(), O_RDWR | O_CLOEXEC);
    r.level = level;
    r.user = "reader";
    r.owner = "boss";
    r.printing = PDFMS_PRINT_LOW;
    r.copy = true;
    const EncryptResult result = worker.Encrypt(r, [](int) {});
    ::close(r.source);
    ::close(r.temp);
    return result;
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    if (DIR* d = ::opendir(PZ_CORPUS_DIR)) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0)
                files.push_back(std::string(PZ_CORPUS_DIR) + "/" + name);
        }
        ::closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The output has the source's objects and first page; `drawn` also compares
// poppler's drawing.
void ExpectSameDocument(const std::string& source, const std::string& out, bool drawn) {
    const std::string before = QdfView(source);
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(QdfView(out).empty()) << "opened without its password";
    EXPECT_TRUE(before == QdfView(out, "reader")) << "objects differ";
    if (drawn) {
        EXPECT_TRUE(FirstPageImage(source) == FirstPageImage(out, "reader")) << "drawn differently";
    }
}

TEST(OnePassFidelity, EveryCorpusFileKeepsItsObjectsAndPages) {
    TempDir dir;
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_GE(files.size(), 29u);
    for (size_t i = 0; i < files.size(); ++i) {
        const int level = static_cast<int>(i % 4);
        SCOPED_TRACE(files[i] + " " + kLevelNames[level]);
        const std::string out = dir.file("out" + std::to_string(i) + ".pdf");
        EncryptResult result = EncryptAs(files[i], out, level);
        ASSERT_EQ(PDFMS_OK, result.code);
        EXPECT_EQ(WriterUsed::OnePass, result.writer);
        ExpectSameDocument(files[i], out, true);
    }
}

TEST(OnePassFidelity, GeneratedStructuresAtEveryLevel) {
    TempDir dir;
    using Kind = StructurePdf::Kind;
    for (Kind kind : {Kind::Features, Kind::IncrementalUpdate, Kind::ObjectStreams,
                      Kind::Linearized, Kind::HybridXref, Kind::PackedLength}) {
        const std::string source = dir.file(std::string(StructurePdf::Name(kind)) + ".pdf");
        ASSERT_TRUE(StructurePdf::Write(source, kind));
        for (int level = 0; level < 4; ++level) {
            SCOPED_TRACE(std::string(StructurePdf::Name(kind)) + " " + kLevelNames[level]);
            const std::string out = dir.file(std::string(StructurePdf::Name(kind)) +
                                             std::to_string(level) + ".out.pdf");
            EncryptResult result = EncryptAs(source, out, level);
            ASSERT_EQ(PDFMS_OK, result.code);
            EXPECT_EQ(WriterUsed::OnePass, result.writer);
            ExpectSameDocument(source, out, level == 3);

            const std::string bytes = TempDir::ReadFile(out);
            // A linearization dictionary no longer describes the file.
            EXPECT_EQ(std::string::npos, bytes.find("/Linearized"));
            // From AES on, the /Crypt-filtered stream is left as it is; all else is
            // encrypted.
            if (level >= 2 && (kind == Kind::Features || kind == Kind::IncrementalUpdate)) {
                EXPECT_NE(std::string::npos, bytes.find("stream\nplain data\nendstream"));
            }
            // A signature's /Contents stays as it was; everything else is encrypted.
            if (kind == Kind::Features || kind == Kind::IncrementalUpdate) {
                EXPECT_NE(std::string::npos,
                          bytes.find("/Contents <308006092a864886f70d010702a08030>"));
            }
            EXPECT_EQ(std::string::npos, bytes.find("Structure"));
            EXPECT_EQ(std::string::npos, bytes.find("xpacket"));

            QPDF pdf;
            pdf.setSuppressWarnings(true);
            pdf.processFile(out.c_str(), "reader");
            EXPECT_EQ(0u, pdf.numWarnings());
            for (const std::string& key : pdf.getTrailer().getKeys())
                EXPECT_TRUE(key == "/Size" || key == "/Root" || key == "/Info" || key == "/ID" ||
                            key == "/Encrypt" || key == "/Type" || key == "/W" || key == "/Length")
                    << key;
            const std::string version = pdf.getPDFVersion();
            const char* least[] = {"1.3", "1.4", "1.6", "1.7"};
            EXPECT_GE(version, least[level]);
            if (level == 3 && version < "2.0") {
                EXPECT_EQ(8, pdf.getExtensionLevel());
            }
        }
    }
}

// The link's /URI string as written in the file: its encrypted bytes.
std::string WrittenUri(const std::string& path) {
    const std::string bytes = TempDir::ReadFile(path);
    const size_t at = bytes.find("/URI (");
    std::string value;
    if (at != std::string::npos) {
        PdfScanner s(bytes.data() + at + 5, bytes.size() - at - 5);
        s.Next(&value);
    }
    return value;
}

// The written string holds every byte value, CR, CR LF, unbalanced parentheses
// and backslashes, and qpdf, mutool and poppler all read the source's bytes back.
// At RC4 the written bytes are the source's XOR a keystream fixed by the key and
// the object: a first file of zeros shows it, so the second file's can be chosen.
TEST(OnePassFidelity, EscapedStringsReadBackExactly) {
    TempDir dir;
    const std::string zeros = dir.file("zeros.pdf");
    ASSERT_TRUE(StructurePdf::WriteLink(zeros, std::string(1024, '\0')));
    ASSERT_EQ(PDFMS_OK, EncryptAs(zeros, dir.file("zeros.out.pdf"), PDFMS_LEVEL_RC4_128).code);
    const std::string keystream = WrittenUri(dir.file("zeros.out.pdf"));
    ASSERT_EQ(1024u, keystream.size());

    std::vector<std::string> wanted;
    for (int c = 0; c < 256; ++c)
        wanted.push_back(std::string(1, static_cast<char>(c)));
    for (const char* run : {"\r\n", "\r\r\n", ")(", "(((", "\\", "\\\\(", "\\", "\r"})
        wanted.push_back(run);
    // Each run lands where no byte of it equals the keystream's, so no source
    // byte is NUL (poppler prints the URI as a C string); filler goes between.
    std::string written;
    for (const std::string& run : wanted) {
        auto clashes = [&] {
            for (size_t k = 0; k < run.size(); ++k)
                if (run[k] == keystream[written.size() + k])
                    return true;
            return false;
        };
        while (clashes())
            written += keystream[written.size()] == 'a' ? 'b' : 'a';
        written += run;
    }
    ASSERT_LT(written.size(), keystream.size());
    std::string uri = written;
    for (size_t k = 0; k < uri.size(); ++k)
        uri[k] = static_cast<char>(uri[k] ^ keystream[k]);

    const std::string source = dir.file("chosen.pdf"), out = dir.file("chosen.out.pdf");
    ASSERT_TRUE(StructurePdf::WriteLink(source, uri));
    ASSERT_EQ(PDFMS_OK, EncryptAs(source, out, PDFMS_LEVEL_RC4_128).code);
    std::string literal;
    LiteralString::Append(literal, written.data(), written.size());
    ASSERT_NE(std::string::npos, TempDir::ReadFile(out).find("/URI " + literal));

    QPDF pdf;
    pdf.processFile(out.c_str(), "reader");
    EXPECT_TRUE(uri == pdf.getObject(4, 0).getKey("/A").getKey("/URI").getStringValue());
    const std::string shown = RunCommand("mutool show " + ShellQuote(source) + " 4").output;
    EXPECT_EQ(shown, RunCommand("mutool show -p reader " + ShellQuote(out) + " 4").output);
    const std::string links = RunCommand("pdfinfo -url " + ShellQuote(source)).output;
    EXPECT_NE(std::string::npos, links.find(uri));
    EXPECT_EQ(links, RunCommand("pdfinfo -url -upw reader " + ShellQuote(out)).output);
}

// Whether `reason` ("a+b+c") holds `word`.
bool HasWord(const std::string& reason, const std::string& word) {
    return ("+" + reason + "+").find("+" + word + "+") != std::string::npos;
}

// Every fault readers repair and the one-pass writer repairs the same way, and
// every one left to qpdf's writer: the writer and reason of the choice, and an
// output that poppler, MuPDF and qpdf open with the asked permissions only with
// the password, and that poppler draws as the source.
TEST(PathDecision, EachFaultTakesItsWriterAndComesOutRight) {
    using Kind = StructurePdf::Kind;
    struct Case {
        Kind kind;
        WriterUsed writer;
        const char* reason;
    };
    const WriterUsed kOnePass = WriterUsed::OnePass, kQpdf = WriterUsed::Qpdf;
    const Case cases[] = {
        {Kind::WrongSize, kOnePass, "wrong-size"},
        {Kind::WrongOffset, kOnePass, "xref-rebuilt"},
        {Kind::DamagedTable, kOnePass, "xref-rebuilt"},
        {Kind::WhitespaceOffset, kOnePass, "clean"},
        {Kind::NullOffset, kOnePass, "null-offset"},
        {Kind::WhitespaceBeforeXref, kOnePass, "xref-whitespace"},
        {Kind::WrongLength, kOnePass, "stream-length"},
        {Kind::MissingLength, kOnePass, "stream-length"},
        {Kind::CrOnly, kOnePass, "stream-eol"},
        {Kind::DuplicateKey, kOnePass, "duplicate-key"},
        {Kind::StrayHash, kOnePass, "stray-hash"},
        {Kind::ReferenceLoop, kQpdf, "reference-loop"},
        {Kind::BrokenPageTree, kQpdf, "broken-page-tree"},
        {Kind::OddToken, kQpdf, "unparsable-object"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const std::string name = StructurePdf::Name(c.kind);
        SCOPED_TRACE(name);
        const std::string source = dir.file(name + ".pdf"), out = dir.file(name + ".out.pdf");
        ASSERT_TRUE(StructurePdf::Write(source, c.kind));
        const EncryptResult result = EncryptAs(source, out, PDFMS_LEVEL_AES_128);
        ASSERT_EQ(PDFMS_OK, result.code);
        EXPECT_EQ(c.writer, result.writer);
        EXPECT_TRUE(HasWord(result.reason, c.reason)) << result.reason;

        const PopplerView poppler = ReadWithPoppler(out, "reader");
        EXPECT_EQ(1, poppler.pages);
        EXPECT_EQ("print:yes copy:yes change:no addNotes:no algorithm:AES", poppler.permissions);
        EXPECT_FALSE(ReadWithPoppler(out).opened);
        const std::string quoted = ShellQuote(out);
        EXPECT_NE(std::string::npos,
                  RunCommand("mutool info -p reader " + quoted).output.find("Pages: 1"));
        EXPECT_NE(0, RunCommand("mutool info " + quoted).status);
        const CommandResult qpdf = RunCommand("qpdf --check --password=reader " + quoted);
        EXPECT_TRUE(qpdf.status == 0 || qpdf.status == 3) << qpdf.output;
        EXPECT_NE(std::string::npos, qpdf.output.find("print low resolution: allowed"));
        EXPECT_NE(std::string::npos, qpdf.output.find("print high resolution: not allowed"));
        EXPECT_TRUE(FirstPageImage(source) == FirstPageImage(out, "reader")) << "drawn differently";
    }
}

} // namespace
