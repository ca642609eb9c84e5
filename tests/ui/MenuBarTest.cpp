// The menu strip: switching between open menus, its commands and dragging.

#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "ui/run/RunState.h"
#include "skin/MenuStripButton.h"
#include "ui/MainWindow.h"
#include "ui/WindowIds.h"
#include "ui/AppMenuStrip.h"

#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

using MenuBarTest = MainWindowTest;

TEST(MenuSwitching, PointerOverAnotherButtonOpensItsMenu) {
    EXPECT_EQ(SkinMenuStrip::NextMenuId(200, 202), 202);
    EXPECT_EQ(SkinMenuStrip::NextMenuId(202, 200), 200);
    EXPECT_EQ(SkinMenuStrip::NextMenuId(200, 200), -2) << "own button: nothing to switch";
    EXPECT_EQ(SkinMenuStrip::NextMenuId(200, -1), -1);
}

TEST_F(MenuBarTest, HasFileAndHelpMenusSideBySide) {
    MenuStripButton* file = MenuBar()->FindMenuButton(ID_MENU_FILE);
    MenuStripButton* help = MenuBar()->FindMenuButton(ID_MENU_HELP);
    ASSERT_NE(file, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(file->GetPosition().x, 8);
    EXPECT_EQ(help->GetPosition().x, 8 + file->GetSize().x + 5);
    EXPECT_NE(file->GetMenu()->FindItem(ID_MENU_ADD_FILES), nullptr);
    EXPECT_NE(file->GetMenu()->FindItem(ID_MENU_EXIT), nullptr);
    EXPECT_NE(help->GetMenu()->FindItem(ID_MENU_ABOUT), nullptr);
    EXPECT_EQ(file->GetMenu()->GetLabelText(ID_MENU_ADD_FILES), "Add File(s)...");

    const wxPoint centreOfHelp = help->GetScreenRect().GetPosition() + wxPoint(2, 2);
    EXPECT_EQ(MenuBar()->HitMenuButton(centreOfHelp), ID_MENU_HELP);
    EXPECT_EQ(MenuBar()->HitMenuButton(MenuBar()->GetScreenRect().GetBottomRight() + wxPoint(5, 5)),
              -1);
}

TEST_F(MenuBarTest, AddFilesEntryOpensTheFileDialogOfTheList) {
    m_dialogs.QueueFilesCancelled();
    wxCommandEvent command(wxEVT_MENU, ID_MENU_ADD_FILES);
    MenuBar()->GetEventHandler()->ProcessEvent(command);
    EXPECT_EQ(m_dialogs.FileDialogCount(), 1);
}

TEST_F(MenuBarTest, ExitDuringARunAsksTheSameQuestionAsClosing) {
    g_runState = RUN_RUNNING; // as the start sequence leaves it
    m_dialogs.QueueMessageReply(wxCANCEL);
    wxCommandEvent command(wxEVT_MENU, ID_MENU_EXIT);
    MenuBar()->GetEventHandler()->ProcessEvent(command);
    PumpEvents();
    EXPECT_EQ(m_dialogs.LastMessage(), "The file is converting, do you want to exit this program?");
    EXPECT_FALSE(m_frame->IsBeingDeleted());
    g_runState = RUN_IDLE;
}

TEST_F(MenuBarTest, OpenLogDirectoryOpensTheLogFolder) {
    wxCommandEvent command(wxEVT_MENU, ID_MENU_OPEN_LOG_DIR);
    MenuBar()->GetEventHandler()->ProcessEvent(command);
    ASSERT_EQ(m_dialogs.OpenedFolders().size(), 1u);
    EXPECT_TRUE(m_dialogs.OpenedFolders()[0].EndsWith("/Log"));
}

TEST_F(MenuBarTest, DraggingTheStripOrTheTitleMovesTheWindow) {
    for (int id : {ID_MENU_BAR, ID_TITLE_BAR}) {
        wxWindow* strip = m_frame->FindWindow(id);
        const wxPoint before = m_frame->GetPosition();
        const wxPoint press(200, 5);
        wxMouseEvent down(wxEVT_LEFT_DOWN);
        down.SetPosition(press);
        down.SetLeftDown(true);
        strip->GetEventHandler()->ProcessEvent(down);
        wxMouseEvent move(wxEVT_MOTION);
        move.SetPosition(press + wxPoint(30, 20));
        move.SetLeftDown(true);
        strip->GetEventHandler()->ProcessEvent(move);
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.SetPosition(press + wxPoint(30, 20));
        strip->GetEventHandler()->ProcessEvent(up);
        PumpEvents();
        EXPECT_EQ(m_frame->GetPosition(), before + wxPoint(30, 20)) << "strip " << id;

        // Moving without a press does nothing.
        const wxPoint after = m_frame->GetPosition();
        wxMouseEvent hover(wxEVT_MOTION);
        hover.SetPosition(press + wxPoint(60, 5));
        strip->GetEventHandler()->ProcessEvent(hover);
        PumpEvents();
        EXPECT_EQ(m_frame->GetPosition(), after);
    }
}

TEST_F(MenuBarTest, MovingOntoTheOtherButtonSwitchesTheOpenMenu) {
    MenuStripButton* file = MenuBar()->FindMenuButton(ID_MENU_FILE);
    MenuStripButton* help = MenuBar()->FindMenuButton(ID_MENU_HELP);
    const wxPoint fileCentre = file->GetScreenRect().GetPosition() + file->GetSize() / 2;
    const wxPoint helpCentre = help->GetScreenRect().GetPosition() + help->GetSize() / 2;
    m_frame->Raise();
    PumpEvents();

    // The popup runs its own loop; timers act inside it as the user would.
    wxUIActionSimulator pointer;
    int openFirst = 0, openAfterMove = 0;
    wxTimer moveOn, close;
    moveOn.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        openFirst = MenuBar()->GetOpenMenuId();
        pointer.MouseMove(helpCentre);
        close.StartOnce(700);
    });
    close.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        openAfterMove = MenuBar()->GetOpenMenuId();
        pointer.Char(WXK_ESCAPE);
    });
    // Whatever goes wrong, no menu stays open for ever and hangs the test.
    wxTimer watchdog;
    watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { pointer.Char(WXK_ESCAPE); });
    pointer.MouseMove(fileCentre);
    PumpEvents();
    moveOn.StartOnce(500);
    watchdog.Start(3000);
    pointer.MouseClick();
    ASSERT_TRUE(
        WaitFor([&] { return openAfterMove != 0 && MenuBar()->GetOpenMenuId() == -1; }, 8000))
        << "first " << openFirst << ", after the move " << openAfterMove;
    watchdog.Stop();
    EXPECT_EQ(openFirst, ID_MENU_FILE);
    EXPECT_EQ(openAfterMove, ID_MENU_HELP);
}

TEST_F(MenuBarTest, ClickingTheOpenMenusButtonClosesItAndTheNextClickReopens) {
    MenuStripButton* file = MenuBar()->FindMenuButton(ID_MENU_FILE);
    const wxPoint fileCentre = file->GetScreenRect().GetPosition() + file->GetSize() / 2;
    m_frame->Raise();
    PumpEvents();

    wxUIActionSimulator pointer;
    int openBefore = 0, openAfterClosingClick = 0, openAfterNextClick = 0;
    wxTimer closingClick, look, nextClick, lookAgain, watchdog;
    closingClick.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        openBefore = MenuBar()->GetOpenMenuId();
        pointer.MouseClick();
        look.StartOnce(600);
    });
    look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        openAfterClosingClick = MenuBar()->GetOpenMenuId();
        // Whatever is open now is closed, so the next click starts from rest.
        if (openAfterClosingClick != -1)
            pointer.Char(WXK_ESCAPE);
        nextClick.StartOnce(600);
    });
    nextClick.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        pointer.MouseClick();
        lookAgain.StartOnce(500);
    });
    lookAgain.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        openAfterNextClick = MenuBar()->GetOpenMenuId();
        pointer.Char(WXK_ESCAPE);
    });
    watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { pointer.Char(WXK_ESCAPE); });

    pointer.MouseMove(fileCentre);
    PumpEvents();
    closingClick.StartOnce(500);
    watchdog.Start(4000);
    pointer.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return openAfterNextClick != 0 && MenuBar()->GetOpenMenuId() == -1; },
                        10000));
    watchdog.Stop();
    EXPECT_EQ(openBefore, ID_MENU_FILE);
    EXPECT_EQ(openAfterClosingClick, -1) << "the closing click opened the menu again";
    EXPECT_EQ(openAfterNextClick, ID_MENU_FILE) << "the next click was swallowed";
}
