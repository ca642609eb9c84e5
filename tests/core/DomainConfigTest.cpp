#include "core/AppUtil.h"
#include "core/AtomicFileWriter.h"
#include "core/DomainConfig.h"
#include "core/FileUtil.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {
std::string U8(const wxString& s) {
    return s.utf8_string();
}

class DomainConfigTest : public ::testing::Test {
protected:
    ScopedHome home;
    std::string path = U8(AppUtil::GetSettingsPath());
    std::string defaultOut = U8(AppUtil::GetDefaultOutputDir());
};
} // namespace

TEST_F(DomainConfigTest, FirstStartWritesTheTemplateByteForByte) {
    ASSERT_FALSE(TempDir::Exists(path));
    {
        DomainConfig config(wxString::FromUTF8(path));
        EXPECT_EQ(config.GetLastConvertDir(), "");
        EXPECT_EQ(U8(config.GetLastOutputDir()), defaultOut);
        EXPECT_EQ(TempDir::ReadFile(path),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<setting>\r\n"
                  "   <last-convert-dir></last-convert-dir>\r\n"
                  "   <last-output-dir></last-output-dir>\r\n</setting>\r\n");
    }
    // Leaving writes the values back in the document's own form.
    std::string saved = TempDir::ReadFile(path);
    EXPECT_NE(saved.find("<last-output-dir>" + defaultOut + "</last-output-dir>"),
              std::string::npos);
    EXPECT_TRUE(FileUtil::DirExists(wxString::FromUTF8(defaultOut)));
}

TEST_F(DomainConfigTest, ForeignNamedFileIsReadByPositionAndKept) {
    TempDir out;
    TempDir::WriteFile(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<prefs><a>/in</a><b>" +
                                 out.path() + "</b><c>keep</c></prefs>\n");
    {
        DomainConfig config(wxString::FromUTF8(path));
        EXPECT_EQ(config.GetLastConvertDir(), "/in");
        EXPECT_EQ(U8(config.GetLastOutputDir()), out.path());
        config.SetLastConvertDir("/elsewhere");
    }
    std::string saved = TempDir::ReadFile(path);
    EXPECT_NE(saved.find("<a>/elsewhere</a>"), std::string::npos);
    EXPECT_NE(saved.find("<c>keep</c>"), std::string::npos);
}

TEST_F(DomainConfigTest, UnusableFilesAreReplacedByTheTemplate) {
    for (std::string broken : {std::string("<setting><last-convert-dir>C:/x</last-convert-dir>"
                                           "</setting>"),
                               std::string("not xml at all <"), std::string()}) {
        TempDir::WriteFile(path, broken);
        DomainConfig config(wxString::FromUTF8(path));
        EXPECT_EQ(config.GetLastConvertDir(), "") << broken;
        EXPECT_EQ(TempDir::ReadFile(path), DomainConfig::DefaultTemplate()) << broken;
    }
}

TEST_F(DomainConfigTest, VanishedOutputFolderFallsBackButAddFolderStays) {
    TempDir::WriteFile(path, "<setting><last-convert-dir>/gone/in</last-convert-dir>"
                             "<last-output-dir>/gone/out</last-output-dir></setting>");
    DomainConfig config(wxString::FromUTF8(path));
    EXPECT_EQ(config.GetLastConvertDir(), "/gone/in");
    EXPECT_EQ(U8(config.GetLastOutputDir()), defaultOut);
}

TEST_F(DomainConfigTest, SpecialCharactersSurviveSaveAndReload) {
    TempDir out;
    std::string odd = out.path() + "/R&D <drafts> \xc3\xa9t\xc3\xa9";
    TempDir::MakeDir(odd);
    {
        DomainConfig config(wxString::FromUTF8(path));
        config.SetLastOutputDir(wxString::FromUTF8(odd));
        config.SetLastConvertDir("/a&b");
    }
    DomainConfig reloaded(wxString::FromUTF8(path));
    EXPECT_EQ(U8(reloaded.GetLastOutputDir()), odd);
    EXPECT_EQ(reloaded.GetLastConvertDir(), "/a&b");
}

TEST_F(DomainConfigTest, InterruptedSaveLeavesTheOldFileIntact) {
    TempDir out;
    {
        DomainConfig config(wxString::FromUTF8(path));
        config.SetLastOutputDir(wxString::FromUTF8(out.path()));
    }
    const std::string before = TempDir::ReadFile(path);
    {
        DomainConfig config(wxString::FromUTF8(path));
        config.SetLastConvertDir("/a/much/longer/folder/name/than/before");
        AtomicFileWriter::FailAfterBytesForTesting(20);
    }
    AtomicFileWriter::FailAfterBytesForTesting(SIZE_MAX);
    EXPECT_EQ(TempDir::ReadFile(path), before);
    // No temporary file is left beside it.
    std::string listing = TempDir::ListDir(U8(AppUtil::GetWorkDir()));
    EXPECT_EQ(listing, "PDF_ENCRYPTION_TAVO.cfg");
}

TEST_F(DomainConfigTest, DeletedWhileRunningIsRecreatedOnSave) {
    TempDir out;
    {
        DomainConfig config(wxString::FromUTF8(path));
        config.SetLastOutputDir(wxString::FromUTF8(out.path()));
        std::remove(path.c_str());
    }
    DomainConfig reloaded(wxString::FromUTF8(path));
    EXPECT_EQ(U8(reloaded.GetLastOutputDir()), out.path());
}
