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
    OpenHelpPage();
    OpenSupportPage();
    ASSERT_EQ(dialogs.OpenedUrls().size(), 2u);
    EXPECT_EQ(dialogs.OpenedUrls()[0], OptionFileFixture::kHelpUrl);
    EXPECT_EQ(dialogs.OpenedUrls()[1], OptionFileFixture::kSupportUrl);
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(WebCommands, ABrowserOrFileManagerThatCannotStartIsNamedInOneBox) {
    OptionFileFixture options;
    ScopedHome home;
    FakeDialogs dialogs;
    dialogs.FailLaunches();
    dialogs.ExpectMessage(wxString("No web browser could be started to open ") +
                          OptionFileFixture::kSupportUrl + ".");
    OpenSupportPage();
    const wxString logDir = FileUtil::GetLogFilePath().BeforeLast('/');
    dialogs.ExpectMessage("No file manager could be started to open the folder " + logDir + ".");
    OpenLogDirectory();
    for (const RecordedMessage& box : dialogs.Messages()) {
        EXPECT_EQ(box.caption, "Brisklowan PDF Zerovovor");
        EXPECT_TRUE(box.style & wxICON_INFORMATION);
    }
}

TEST(WebCommands, OpenLogDirectoryCreatesAndOpensTheLogFolder) {
    ScopedHome home;
    FakeDialogs dialogs;
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
