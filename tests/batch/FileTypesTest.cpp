#include "TempDir.h"

#include "batch/EncryptionJob.h"
#include "batch/FileTypes.h"
#include "batch/JobHooks.h"
#include "batch/PdfEngineFactory.h"
#include "batch/ProbeFile.h"

#include <gtest/gtest.h>

TEST(FileTypes, ExtensionAndFileNameRules) {
    EXPECT_TRUE(IsSupportedExtension("pdf"));
    for (const char* other : {"PDF", "pd", "df", "", "pdf;txt", "txt"})
        EXPECT_FALSE(IsSupportedExtension(other)) << other;
    for (const char* bad :
         {"", "   ", "\t\n", "a:b", "what?", "a\\b", "a|b", "a/b", "a*b", "a<b", "a>b", "a\"b"})
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
    for (const char* good : {"my file", "report", "report (2).pdf"})
        EXPECT_TRUE(IsValidFileName(good)) << good;
    EXPECT_TRUE(IsValidFileName(wxString::FromUTF8("r\xC3\xA9sum\xC3\xA9")));
}

TEST(FileTypes, HookedQueriesFollowTheInstalledHooks) {
    g_wildcardHook = nullptr;
    g_extensionTestHook = nullptr;
    EXPECT_FALSE(HasSupportedExtension("pdf"));
    EXPECT_EQ(GetFileTypeDescription(), "");

    InstallPdfHooks();
    EXPECT_EQ(g_jobHook, &RunEncryptionJob);
    EXPECT_EQ(g_probeHook, &ProbeFile);
    EXPECT_TRUE(HasSupportedExtension("pdf"));
    EXPECT_FALSE(HasSupportedExtension("txt"));
    EXPECT_EQ(GetFileTypeDescription(), "PDF files(*.pdf)");
    EXPECT_EQ(g_extensionHook(), ".pdf");
    EXPECT_EQ(g_wildcardHook(), "PDF files(*.pdf)|*.pdf;");
    ASSERT_EQ(g_patternHook().size(), 1u);
    EXPECT_EQ(g_patternHook()[0], "*.pdf");
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
