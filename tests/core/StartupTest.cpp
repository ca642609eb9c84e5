#include "app/StartupSequence.h"
#include "core/AppUtil.h"
#include "core/DomainConfig.h"
#include "core/FileUtil.h"
#include "skin/FaceLayout.h"
#include "update/DomainOption.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
// An installation folder: bin/program with or without the files beside it.
struct FakeInstall {
    TempDir dir;
    FakeInstall(bool withData) {
        TempDir::MakeDir(dir.file("bin"));
        if (withData) {
            TempDir::MakeDir(dir.file("Themes"));
            TempDir::WriteFile(dir.file("Themes/face.xml"),
                               "<face><panewindow><annotatefont x=\"1\" y=\"2\" width=\"3\" "
                               "size=\"8\"/></panewindow></face>");
            TempDir::WriteFile(dir.file("option.cfg"),
                               "<o><web><a>help</a><b/><c>support</c><d/><e>https://u/x</e>"
                               "<f>download</f><g/></web></o>");
        }
        AppUtil::SetArgv0(wxString::FromUTF8((dir.file("bin/pdfzerovovor")).c_str()));
    }
};
} // namespace

TEST(StartupTest, ProcessInstancesComeUpAndTheSettingsAreWrittenOnTheWayDown) {
    ScopedHome home;
    FakeInstall install(true);
    StartupSequence::CreateProcessInstances();
    ASSERT_NE(g_config, nullptr);
    ASSERT_NE(g_option, nullptr);
    ASSERT_NE(g_faceLayout, nullptr);
    EXPECT_EQ(g_option->GetHelpUrl(), "help");
    EXPECT_EQ(g_option->GetUpdateUrl(), "https://u/x-update.xml");
    ASSERT_NE(g_faceLayout->Find("/face/panewindow/annotatefont"), nullptr);
    EXPECT_EQ(g_faceLayout->Find("/face/panewindow/annotatefont")->value, 8);

    const std::string settings = AppUtil::GetSettingsPath().utf8_string();
    EXPECT_EQ(TempDir::ReadFile(settings), DomainConfig::DefaultTemplate());
    g_config->SetLastConvertDir("/remembered");
    StartupSequence::ReleaseProcessInstances();
    EXPECT_EQ(g_config, nullptr);
    EXPECT_EQ(g_option, nullptr);
    EXPECT_NE(TempDir::ReadFile(settings).find("<last-convert-dir>/remembered<"),
              std::string::npos);
    EXPECT_TRUE(FileUtil::DirExists(AppUtil::GetDefaultOutputDir()));
}

TEST(StartupTest, MissingOptionAndLayoutFilesLeaveEmptyValues) {
    ScopedHome home;
    FakeInstall install(false);
    StartupSequence::CreateProcessInstances();
    ASSERT_NE(g_option, nullptr);
    EXPECT_EQ(g_option->GetHelpUrl(), "");
    EXPECT_EQ(g_option->GetSupportUrl(), "");
    EXPECT_EQ(g_faceLayout->size(), 0u);
    StartupSequence::ReleaseProcessInstances();
}

TEST(StartupTest, BareProgramNameIsResolvedToWhereTheProgramRuns) {
    StartupSequence::RecordProgramPath("pdfzerovovor");
    EXPECT_TRUE(AppUtil::GetExeDir().StartsWith("/")) << AppUtil::GetExeDir();
    StartupSequence::RecordProgramPath("/opt/pz/bin/pdfzerovovor");
    EXPECT_EQ(AppUtil::GetBaseDir(), "/opt/pz");
}
