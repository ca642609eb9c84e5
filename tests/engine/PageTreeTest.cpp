// The page-tree walk that spares qpdf whole object streams must count pages
// exactly as qpdf lists them, and give up wherever qpdf would warn.

#include "StructurePdf.h"
#include "TempDir.h"

#include "engine/api/EngineService.h"
#include "engine/host/OpenDocument.h"
#include "engine/host/PageTree.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>

#include <dirent.h>
#include <gtest/gtest.h>

namespace {

struct Verdicts {
    bool walked = false;   // the walk counted
    bool qpdfClean = true; // qpdf listed the pages without a warning
};

// A count from the walk must be qpdf's, and come only where qpdf is silent.
Verdicts Compare(const std::string& path) {
    Verdicts v;
    OpenDocument ours, theirs;
    if (ours.Open(path, nullptr) != PDFMS_OPEN_OK || ours.pdf->isEncrypted() ||
        theirs.Open(path, nullptr) != PDFMS_OPEN_OK)
        return v;
    PageTree tree;
    std::string why;
    std::vector<std::string> raised;
    v.walked = tree.Walk(*ours.pdf, why, raised);
    const int32_t pages = theirs.CountPages();
    const std::vector<std::string> said = theirs.Warnings();
    v.qpdfClean = said.empty();
    if (v.walked) {
        // Where qpdf warns, the walk raised the same warnings.
        for (const std::string& w : said)
            EXPECT_NE(raised.end(), std::find(raised.begin(), raised.end(), w))
                << path << ": qpdf warns where the walk counted: " << w;
        EXPECT_EQ(pages, tree.pages()) << path;
        // The check of an output compares these nodes: every page is one of them.
        for (QPDFObjectHandle page : theirs.pdf->getAllPages())
            EXPECT_NE(tree.nodes().end(),
                      std::find(tree.nodes().begin(), tree.nodes().end(), page.getObjGen()))
                << path;
    }
    return v;
}

TEST(PageTree, CountsCorpusAndGeneratedFilesAsQpdfListsThem) {
    int walked = 0;
    DIR* d = ::opendir(PZ_CORPUS_DIR);
    ASSERT_NE(nullptr, d);
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0)
            walked += Compare(std::string(PZ_CORPUS_DIR) + "/" + name).walked;
    }
    ::closedir(d);
    EXPECT_GT(walked, 20);
    TempDir dir;
    using Kind = StructurePdf::Kind;
    for (Kind kind : {Kind::ObjectStreams, Kind::HybridXref, Kind::Linearized}) {
        const std::string path = dir.file(std::string(StructurePdf::Name(kind)) + ".pdf");
        ASSERT_TRUE(StructurePdf::Write(path, kind));
        EXPECT_TRUE(Compare(path).walked) << path;
    }
}

TEST(PageTree, GivesUpWhereQpdfWouldWarn) {
    TempDir dir;
    // Two pages, one under a second node and without a /MediaBox (qpdf does not
    // mind), beside other objects in one object stream.
    const std::vector<std::string> sound = {
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 10 10] >>",
        "<< /Type /Pages /Parent 2 0 R /Kids [5 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 4 0 R >>",
        "[(text (nested) \\\\) <0102> 1.5 -2 .5 null true /N#41 7 0 R] % a comment",
    };
    const std::string path = dir.file("packed.pdf");
    ASSERT_TRUE(StructurePdf::WriteObjectStream(path, sound));
    EXPECT_TRUE(Compare(path).walked);

    // qpdf reads a stray '#' and a repeated key with a warning and lists the
    // same pages: the walk counts them and says what qpdf says.
    for (const char* text :
         {"<< /A#zz 1 >>", "<< /Type /Page /Parent 4 0 R /Rotate 0 /Rotate 90 >>"}) {
        SCOPED_TRACE(text);
        std::vector<std::string> objects = sound;
        objects[text[4] == 'A' ? 4 : 3] = text;
        ASSERT_TRUE(StructurePdf::WriteObjectStream(path, objects));
        const Verdicts v = Compare(path);
        EXPECT_FALSE(v.qpdfClean);
        EXPECT_TRUE(v.walked);
    }

    const struct {
        size_t object; // index into `sound`
        const char* text;
    } odd[] = {
        {4, "<< /A#00 1 >>"},                                         // a '#' that makes a null
        {4, "[ture]"},                                                // a word read as a string
        {3, "<< /Parent 4 0 R >>"},                                   // no /Type
        {0, "<< /Type /Pages /Kids [3 0 R 4 0 R 3 0 R] /Count 3 >>"}, // a page twice
        {0, "<< /Type /Pages /Parent 4 0 R /Kids [3 0 R 4 0 R] /Count 2 >>"}, // not the root
    };
    for (const auto& o : odd) {
        SCOPED_TRACE(o.text);
        std::vector<std::string> objects = sound;
        objects[o.object] = o.text;
        ASSERT_TRUE(StructurePdf::WriteObjectStream(path, objects));
        const Verdicts v = Compare(path);
        EXPECT_FALSE(v.qpdfClean);
        EXPECT_FALSE(v.walked);
    }
}

} // namespace
