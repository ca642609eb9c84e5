#include "TempDir.h"

#include "batch/FileTypes.h"

#include <gtest/gtest.h>

TEST(FileTypes, OnlyTheLowerCasePdfExtensionIsSupported) {
    EXPECT_TRUE(IsSupportedExtension("pdf"));
    for (const char* other : {"PDF", "pd", "df", "", "pdf;txt", "txt"})
        EXPECT_FALSE(IsSupportedExtension(other)) << other;
}

TEST(FileTypes, FolderScanFindsPdfFilesOfEitherCaseDirectlyInTheFolder) {
    TempDir dir;
    TempDir::WriteFile(dir.file("a.pdf"), "%PDF-");
    TempDir::WriteFile(dir.file("b.PDF"), "%PDF-");
    TempDir::WriteFile(dir.file("notes.txt"), "text");
    // Hidden files, folders and subfolders: see the file listing test in core.

    wxString list = "/earlier.pdf|";
    EXPECT_EQ(ScanFolderForFiles(GetScanPatterns(), dir.path(), list), 2);
    wxArrayString paths = SplitPathList(list);
    paths.Sort();
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], "/earlier.pdf");
    EXPECT_EQ(paths[1], dir.file("a.pdf"));
    EXPECT_EQ(paths[2], dir.file("b.PDF"));
    EXPECT_TRUE(list.EndsWith("|"));

    wxString none;
    EXPECT_EQ(ScanFolderForFiles(GetScanPatterns(), "/no/such/folder", none), 0);
    EXPECT_EQ(none, "");
}

TEST(FileTypes, PathListsRoundTrip) {
    wxString list;
    AppendToPathList(list, "/a/one.pdf");
    AppendToPathList(list, "/b/two words.pdf");
    EXPECT_EQ(list, "/a/one.pdf|/b/two words.pdf|");
    wxArrayString paths = SplitPathList(list);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[1], "/b/two words.pdf");
    EXPECT_TRUE(SplitPathList("").empty());
}
