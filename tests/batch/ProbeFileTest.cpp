#include "FakeEngine.h"
#include "TempDir.h"

#include "batch/ProbeFile.h"

#include <gtest/gtest.h>

class ProbeFileTest : public testing::Test {
protected:
    void SetUp() override { engine.Install(); }
    TempDir dir;
    FakeEngine engine;
};

TEST_F(ProbeFileTest, PacksNameSizeFolderPagesAndCode) {
    const std::string path = dir.file("doc.pdf");
    TempDir::WriteFile(path, "%PDF-1.4" + std::string(2040, 'x'));
    engine.pageCount[path] = 12;
    FileRow row = ProbeFile(path);
    ASSERT_EQ(row.size(), 6u);
    EXPECT_EQ(row[FILEROW_PATH], path);
    EXPECT_EQ(row[FILEROW_NAME], "doc.pdf");
    EXPECT_EQ(row[FILEROW_SIZE], "2.0KB");
    EXPECT_EQ(row[FILEROW_FOLDER], dir.path());
    EXPECT_EQ(row[FILEROW_PAGES], "12");
    EXPECT_EQ(row[FILEROW_OPEN_CODE], "0");
    EXPECT_EQ(engine.created, 1);
    EXPECT_EQ(engine.released, 1);
}

TEST_F(ProbeFileTest, EncryptionOverridesTheOpenStateAndHidesThePages) {
    engine.encrypted["/x/locked.pdf"] = 1;
    engine.pageCount["/x/locked.pdf"] = 3;
    FileRow row = ProbeFile("/x/locked.pdf");
    EXPECT_EQ(row[FILEROW_OPEN_CODE], "4");
    EXPECT_EQ(row[FILEROW_PAGES], "unknown");
    for (const std::string& call : engine.ProbedPaths())
        EXPECT_NE(call.rfind("pages:", 0), 0u) << "the page count must not be asked";
}

TEST_F(ProbeFileTest, UnknownStatesBecomeSixAndOthersKeepTheirDigit) {
    const std::pair<int32_t, const char*> cases[] = {{7, "6"}, {-1, "6"}, {1, "1"},
                                                     {3, "3"}, {5, "5"},  {4, "4"}};
    for (const auto& c : cases) {
        engine.openState["/x/f.pdf"] = c.first;
        FileRow row = ProbeFile("/x/f.pdf");
        EXPECT_EQ(row[FILEROW_OPEN_CODE], c.second) << "state " << c.first;
        EXPECT_EQ(row[FILEROW_PAGES], "unknown") << "state " << c.first;
    }
}

TEST_F(ProbeFileTest, OddPathsAndPageCounts) {
    engine.openState["/x/repaired.pdf"] = PDFMS_OPEN_REPAIRED;
    engine.pageCount["/x/repaired.pdf"] = 0;
    FileRow repaired = ProbeFile("/x/repaired.pdf");
    EXPECT_EQ(repaired[FILEROW_PAGES], "");
    EXPECT_EQ(repaired[FILEROW_OPEN_CODE], "2");
    engine.pageCount["/x/negative.pdf"] = -5;
    EXPECT_EQ(ProbeFile("/x/negative.pdf")[FILEROW_PAGES], "");
    // The engine gets UTF-8 paths.
    engine.pageCount["/x/r\xC3\xA9sum\xC3\xA9.pdf"] = 4;
    EXPECT_EQ(ProbeFile(wxString::FromUTF8("/x/r\xC3\xA9sum\xC3\xA9.pdf"))[FILEROW_PAGES], "4");

    FileRow bare = ProbeFile("plain.pdf");
    EXPECT_EQ(bare[FILEROW_NAME], "plain.pdf");
    EXPECT_EQ(bare[FILEROW_FOLDER], "");
    FileRow folder = ProbeFile("/x/folder/");
    EXPECT_EQ(folder[FILEROW_NAME], "");
    EXPECT_EQ(folder[FILEROW_FOLDER], "/x/folder");
}

TEST_F(ProbeFileTest, WithoutAnEngineTheFileIsNotSupported) {
    FakeEngine::Uninstall();
    FileRow row = ProbeFile("/x/a.pdf");
    ASSERT_EQ(row.size(), 6u);
    EXPECT_EQ(row[FILEROW_PATH], "/x/a.pdf");
    EXPECT_EQ(row[FILEROW_OPEN_CODE], "6");
}
