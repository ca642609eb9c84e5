#include "core/AppUtil.h"
#include "core/FileUtil.h"
#include "core/StringUtil.h"

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(AppPaths, BaseDirIsParentOfProgramFolder) {
#ifdef __WXMSW__
    AppUtil::SetArgv0("C:\\A\\bin\\program.exe");
    EXPECT_EQ(AppUtil::GetExeDir(), "C:/A/bin");
    EXPECT_EQ(AppUtil::GetBaseDir(), "C:/A");
#endif
    // Only Windows separates folders with "\\"; here it is part of a name.
    AppUtil::SetArgv0("/opt/a\\b/bin/pdfzerovovor");
    EXPECT_EQ(AppUtil::GetExeDir(), "/opt/a\\b/bin");
    EXPECT_EQ(AppUtil::GetBaseDir(), "/opt/a\\b");
    EXPECT_EQ(AppUtil::GetOptionPath(), "/opt/a\\b/option.cfg");
    EXPECT_EQ(AppUtil::GetLayoutPath(), "/opt/a\\b/Themes/face.xml");
    EXPECT_EQ(AppUtil::GetThemePath(), "/opt/a\\b/Themes/default.zip");

    AppUtil::SetArgv0("/opt/pz/bin/pdfzerovovor");
    EXPECT_EQ(AppUtil::GetBaseDir(), "/opt/pz");
    AppUtil::SetArgv0("program.exe");
    EXPECT_EQ(AppUtil::GetExeDir(), "");
    EXPECT_EQ(AppUtil::GetBaseDir(), "");
    EXPECT_EQ(AppUtil::GetOptionPath(), "/option.cfg");
}

TEST(AppPaths, DataIsBesideTheProgramWhenStagedAndUnderShareWhenInstalled) {
    TempDir staged;
    TempDir::MakeDir(staged.file("bin"));
    TempDir::MakeDir(staged.file("Themes"));
    AppUtil::SetArgv0(wxString::FromUTF8(staged.file("bin/pdfzerovovor")));
    const wxString stagedDir = wxString::FromUTF8(staged.path());
    EXPECT_EQ(AppUtil::GetDataDir(), stagedDir);
    EXPECT_EQ(AppUtil::GetThemePath(), stagedDir + "/Themes/default.zip");

    TempDir prefix;
    TempDir::MakeDir(prefix.file("bin"));
    TempDir::MakeDir(prefix.file("share"));
    TempDir::MakeDir(prefix.file("share/pdfzerovovor"));
    AppUtil::SetArgv0(wxString::FromUTF8(prefix.file("bin/pdfzerovovor")));
    const wxString shared = wxString::FromUTF8(prefix.file("share/pdfzerovovor"));
    EXPECT_EQ(AppUtil::GetDataDir(), shared);
    EXPECT_EQ(AppUtil::GetOptionPath(), shared + "/option.cfg");
    EXPECT_EQ(AppUtil::GetLayoutPath(), shared + "/Themes/face.xml");
    EXPECT_EQ(AppUtil::GetThemePath(), shared + "/Themes/default.zip");
}

TEST(AppPaths, UserFoldersAreCreatedInTheDocumentsFolder) {
    ScopedHome home;
    wxString docs = AppUtil::GetDocumentsDir();
    ASSERT_TRUE(docs.StartsWith(wxString::FromUTF8(home.path().c_str())));

    wxString work = AppUtil::GetWorkDir();
    EXPECT_EQ(work, docs + "/Brisklowan files/Brisklowan PDF Zerovovor");
    EXPECT_TRUE(FileUtil::DirExists(work));
    EXPECT_EQ(AppUtil::GetWorkDir(), work); // idempotent once it exists

    wxString out = AppUtil::GetDefaultOutputDir();
    EXPECT_EQ(out, docs + "/Brisklowan/Brisklowan PDF Zerovovor");
    EXPECT_TRUE(FileUtil::DirExists(out));
    EXPECT_EQ(AppUtil::GetSettingsPath(), work + "/PDF_ENCRYPTION_TAVO.cfg");
}

TEST(StringUtilTest, FormatSizeAtUnitBoundaries) {
    EXPECT_EQ(StringUtil::FormatSize(0), "0.0B");
    EXPECT_EQ(StringUtil::FormatSize(1023), "1023.0B");
    EXPECT_EQ(StringUtil::FormatSize(1024), "1.0KB");
    EXPECT_EQ(StringUtil::FormatSize(1536), "1.5KB");
    EXPECT_EQ(StringUtil::FormatSize(1048575), "1024.0KB");
    EXPECT_EQ(StringUtil::FormatSize(1048576), "1.0MB");
    EXPECT_EQ(StringUtil::FormatSize(uint64_t(1) << 40), "1024.0GB");
    // Counts at or above 2^63 are not negative.
    EXPECT_EQ(StringUtil::FormatSize(uint64_t(1) << 63), "8589934592.0GB");
}

TEST(StringUtilTest, SplittingAsciiTestAndBuildYear) {
    EXPECT_EQ(StringUtil::BeforeLast("a/b/c.pdf", '/'), "a/b");
    EXPECT_EQ(StringUtil::AfterLast("a/b/c.pdf", '/'), "c.pdf");
    EXPECT_EQ(StringUtil::BeforeLast("c.pdf", '/'), "");
    EXPECT_EQ(StringUtil::AfterLast("c.pdf", '/'), "c.pdf");
    EXPECT_EQ(StringUtil::AfterLast("dir/", '/'), "");
    EXPECT_TRUE(StringUtil::IsAscii("abc 123!"));
    EXPECT_FALSE(StringUtil::IsAscii(wxString::FromUTF8("p\xc3\xa4ss")));
    // The About box prints this year as it stands.
    wxString year = StringUtil::GetBuildYear();
    ASSERT_EQ(year.length(), 4u);
    EXPECT_TRUE(year.IsNumber());
}
