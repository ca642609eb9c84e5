// The one-pass writer's own tokeniser must read object bodies exactly as qpdf's
// QPDFTokenizer does: kinds, raw extents and decoded strings and names.

#include "StructurePdf.h"
#include "TempDir.h"
#include "tests/fuzz/QpdfTokenKind.h"

#include "engine/host/LiteralString.h"
#include "engine/host/OpenDocument.h"
#include "engine/host/PdfScanner.h"
#include "engine/host/SourceLayout.h"
#include "engine/host/SourceWindow.h"

#include <qpdf/BufferInputSource.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFTokenizer.hh>

#include <dirent.h>
#include <gtest/gtest.h>

namespace {

using Kind = PdfToken::Kind;

// Compares the two tokenisers over `bytes`; returns the number of tokens.
size_t ExpectSameTokens(const std::string& bytes, const std::string& where) {
    Buffer buffer(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())), bytes.size());
    auto input = std::make_shared<BufferInputSource>(where, &buffer, false);
    QPDFTokenizer qt;
    qt.allowEOF();
    PdfScanner s(bytes.data(), bytes.size());
    // The layout steps over strings without decoding them: same tokens.
    PdfScanner skim(bytes.data(), bytes.size());
    skim.SetDecodeStrings(false);
    std::string value;
    size_t count = 0;
    for (;;) {
        QPDFTokenizer::Token expected = qt.readToken(input, where, true);
        PdfToken t, u;
        do
            t = s.Next(&value);
        while (t.kind == Kind::Comment);
        do
            u = skim.Next();
        while (u.kind == Kind::Comment);
        const Kind kind = QpdfTokenKind(expected.getType());
        EXPECT_EQ(kind, t.kind) << where << " token " << count << " " << expected.getRawValue();
        EXPECT_EQ(kind, u.kind) << where << " token " << count << " skimmed";
        if (kind != Kind::Bad) {
            EXPECT_EQ(t.end, u.end) << where << " token " << count << " skimmed";
        }
        if (kind != t.kind || kind == Kind::End || kind == Kind::Bad)
            return count;
        EXPECT_EQ(expected.getRawValue(), bytes.substr(t.begin, t.end - t.begin)) << where;
        if (kind == Kind::String) {
            EXPECT_EQ(expected.getValue(), value) << where;
        }
        if (kind == Kind::Name) {
            EXPECT_EQ(expected.getValue(), "/" + value) << where;
        }
        ++count;
    }
}

// Every object body of the file, as the one-pass writer reads it.
size_t ExpectSameTokensInFile(const std::string& path) {
    OpenDocument doc;
    EXPECT_EQ(0, doc.Open(path, nullptr)) << path;
    std::unique_ptr<SourceWindow> window = SourceWindow::Open(path, SourceLayout::kMaxObjectBytes);
    SourceLayout layout;
    std::string why;
    EXPECT_TRUE(layout.Read(*doc.pdf, *window, why)) << path << ": " << why;
    size_t tokens = 0;
    for (const LaidObject& o : layout.objects()) {
        const char* data = nullptr;
        size_t n = window->View(o.bodyStart, o.bodyEnd - o.bodyStart, data);
        tokens += ExpectSameTokens(std::string(data, n), path + " object " + std::to_string(o.num));
    }
    return tokens;
}

TEST(PdfScanner, ReadsEveryCorpusObjectAsQpdfDoes) {
    size_t tokens = 0;
    DIR* d = ::opendir(PZ_CORPUS_DIR);
    ASSERT_NE(nullptr, d);
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0)
            tokens += ExpectSameTokensInFile(std::string(PZ_CORPUS_DIR) + "/" + name);
    }
    ::closedir(d);
    TempDir dir;
    ASSERT_TRUE(StructurePdf::Write(dir.file("f.pdf"), StructurePdf::Kind::Features));
    tokens += ExpectSameTokensInFile(dir.file("f.pdf"));
    EXPECT_GT(tokens, 100000u);
}

TEST(PdfScanner, OddTokensAndBrokenOnes) {
    ExpectSameTokens("(a\\\r\nb\\\rc\\\nd) (\\0\\00\\000\\1234\\9) <a b c> <> <41 4> /a#20b "
                     "/#41#42 {}[]<<>> 1.5 -.3 +7 R %x (y\n(unbalanced",
                     "odd");
    ExpectSameTokens("<12 3G>", "bad hex");
    ExpectSameTokens("<0123456789abcdef0123456789abcdefG0>", "bad hex after a group");
    ExpectSameTokens("<0123456789abcdef0123", "hex without an end");
    ExpectSameTokens(")", "stray paren");
    ExpectSameTokens("> >", "stray bracket");
    // Long hex strings are read eight digits at a time: every byte value in such
    // a group, and groups broken by white space or an odd digit.
    for (int c = 0; c < 256; ++c)
        ExpectSameTokens("<0123456" + std::string(1, static_cast<char>(c)) + "9aBcDeF0>",
                         "hex group with byte " + std::to_string(c));
    ExpectSameTokens("<0123456789abcdef 0123456789ABCDEF0\n123456789abcdef01 2>", "hex runs");
}

TEST(PdfScanner, LiteralStringsWrittenReadBackExactly) {
    std::string every;
    for (int c = 0; c < 256; ++c)
        every += static_cast<char>(c);
    for (const std::string& bytes :
         {every, std::string(), std::string("\r"), std::string("\r\n\r\r\n"), std::string(")))((("),
          std::string("\\"), std::string("a\\(b)\\"), std::string("\\\r\n(\n")}) {
        std::string literal;
        LiteralString::Append(literal, bytes.data(), bytes.size());
        EXPECT_EQ(1u, ExpectSameTokens(literal, "literal")) << literal;
        EXPECT_TRUE(bytes == QPDFObjectHandle::parse(literal).getStringValue()) << literal;
    }
}

} // namespace
