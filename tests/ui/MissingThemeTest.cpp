// A broken installation: the window still comes up and says what is wrong.

#include "FakeDialogs.h"
#include "TempDir.h"
#include "ThemeSandbox.h"
#include "WaitFor.h"
#include "core/AppUtil.h"
#include "ui/MainWindow.h"
#include "ui/WindowIds.h"

#include <gtest/gtest.h>
#include <wx/app.h>

TEST(MissingTheme, TheWindowOpensAndNamesTheMissingTheme) {
    ScopedHome home;
    ThemeSandbox sandbox; // a base directory whose theme archive does not exist
    FakeDialogs dialogs;
    dialogs.QueueMessageReply(wxOK);
    auto* frame = new MainWindow;
    ASSERT_TRUE(frame->Create(ID_MAIN_FRAME, AppUtil::GetProductName()));
    frame->Show();
    EXPECT_TRUE(WaitFor([&] { return !dialogs.Messages().empty(); }));
    EXPECT_TRUE(dialogs.LastMessage().Contains("Themes/default.zip")) << dialogs.LastMessage();
    EXPECT_NE(frame->FindWindow(ID_FILE_LIST), nullptr);
    EXPECT_NE(frame->FindWindow(ID_START_BUTTON), nullptr);
    frame->Destroy();
    PumpEvents();
}
