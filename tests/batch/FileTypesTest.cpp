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

    // "\\" and "|" are name characters, kept as they are.
    TempDir::WriteFile(dir.file("c\\d|e.pdf"), "%PDF-");

    wxArrayString paths;
    paths.Add("/earlier.pdf");
    EXPECT_EQ(ScanFolderForFiles(GetScanPatterns(), dir.path(), paths), 3);
    paths.Sort();
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[0], "/earlier.pdf");
    EXPECT_EQ(paths[1], dir.file("a.pdf"));
    EXPECT_EQ(paths[2], dir.file("b.PDF"));
    EXPECT_EQ(paths[3], dir.file("c\\d|e.pdf"));

    wxArrayString none;
    EXPECT_EQ(ScanFolderForFiles(GetScanPatterns(), "/no/such/folder", none), 0);
    EXPECT_TRUE(none.empty());
}
