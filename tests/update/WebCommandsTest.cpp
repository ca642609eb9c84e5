#include "FakeDialogs.h"
#include "OptionFileFixture.h"
#include "TempDir.h"

#include "core/FileUtil.h"
#include "update/WebCommands.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

TEST(WebCommands, HelpAndSupportOpenTheirPages) {
    OptionFileFixture options;
    FakeDialogs dialogs;
    dialogs.SetStrict(true);
    OpenHelpPage();
    OpenSupportPage();
    ASSERT_EQ(dialogs.OpenedUrls().size(), 2u);
    EXPECT_EQ(dialogs.OpenedUrls()[0], OptionFileFixture::kHelpUrl);
    EXPECT_EQ(dialogs.OpenedUrls()[1], OptionFileFixture::kSupportUrl);
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(WebCommands, OpenLogDirectoryCreatesAndOpensTheLogFolder) {
    ScopedHome home;
    FakeDialogs dialogs;
    dialogs.SetStrict(true);
    const wxString logFile = FileUtil::GetLogFilePath();
    const wxString logDir = logFile.BeforeLast('/');
    ASSERT_TRUE(logDir.EndsWith("/Log")) << logDir;
    // As on a fresh installation: no log folder yet.
    ASSERT_TRUE(wxRmdir(logDir));
    ASSERT_FALSE(FileUtil::DirExists(logDir));

    OpenLogDirectory();
    EXPECT_TRUE(FileUtil::DirExists(logDir));
    ASSERT_EQ(dialogs.OpenedFolders().size(), 1u);
    EXPECT_EQ(dialogs.OpenedFolders()[0], logDir);
    EXPECT_TRUE(logDir.StartsWith(wxString::FromUTF8(home.path())));
}
