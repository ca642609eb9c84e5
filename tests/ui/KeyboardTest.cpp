// The window driven from the keyboard alone: Tab through the controls, Space and
// the arrows on them, the menu and command keys.

#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "skin/SelectableGrid.h"
#include "ui/FileListPanel.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "ui/SecurityOptionsPane.h"
#include "ui/SourcePasswordDialog.h"
#include "ui/WindowIds.h"
#include "ui/AppMenuStrip.h"
#include "ui/run/RunState.h"

#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <vector>

namespace {
const char* const kEmptyList = "The list is empty. Please add the PDF files to encrypt first "
                               "(Add, Ctrl+O, or drop them on the list).";

int FocusId() {
    wxWindow* focus = wxWindow::FindFocus();
    return focus ? focus->GetId() : wxID_NONE;
}
} // namespace

class KeyboardTest : public MainWindowTest {
protected:
    // Gives window the keyboard focus, as a click on it would.
    void FocusOn(wxWindow* window) {
        m_frame->Raise();
        window->SetFocus();
        // The grid passes the focus on to its cell window, which has the grid's id.
        ASSERT_TRUE(WaitFor([window] { return FocusId() == window->GetId(); }))
            << "no keyboard focus on " << window->GetId();
    }
    // Presses key and waits until the focus has moved away from where it was.
    int Press(int key, int modifiers = wxMOD_NONE) {
        const int before = FocusId();
        m_keys.Char(key, modifiers);
        WaitFor([before] { return FocusId() != before; }, 1000);
        return FocusId();
    }
    // Presses key and returns the id of the menu it opened (0 for none). The menu
    // runs its own loop; a timer looks at it from inside and closes it.
    int MenuOpenedBy(int key, int modifiers) {
        int seen = 0;
        wxTimer look;
        look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            seen = MenuBar()->GetOpenMenuId();
            m_keys.Char(WXK_ESCAPE);
        });
        look.StartOnce(500);
        m_keys.Char(key, modifiers);
        WaitFor([&] { return seen != 0 && MenuBar()->GetOpenMenuId() == -1; }, 5000);
        return seen;
    }

    wxUIActionSimulator m_keys;
};

TEST_F(KeyboardTest, TabVisitsTheEnabledControlsInReadingOrderAndSpacePressesStart) {
    UseFakeEngine();
    AddPath(MakeFakePdf("one.pdf")); // a row whose cells Tab must not walk
    FocusOn(List()->GetGrid());
    // Password boxes and permissions are off until their check boxes are ticked; of
    // the levels only the chosen one is a stop, the arrows move within the group.
    std::vector<int> visited;
    for (int i = 0; i < 16 && (visited.empty() || visited.back() != ID_START_BUTTON); ++i)
        visited.push_back(Press(WXK_TAB));
    const std::vector<int> expected = {
        ID_TOOL_ADD,           ID_TOOL_DELETE,   ID_TOOL_CLEAR,        ID_USER_PASSWORD_BOX,
        ID_OWNER_PASSWORD_BOX, ID_LEVEL_RC4_128, ID_OUTPUT_FOLDER_BOX, ID_OUTPUT_BROWSE,
        ID_OUTPUT_OPEN,        ID_START_BUTTON};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(Press(WXK_TAB, wxMOD_SHIFT), ID_OUTPUT_OPEN);
    EXPECT_EQ(Press(WXK_TAB), ID_START_BUTTON);

    m_dialogs.ExpectMessage("Please provide password to encrypt pdf file(s).");
    m_keys.Char(WXK_SPACE);
    EXPECT_TRUE(WaitFor([this] { return m_dialogs.Messages().size() == 1; }))
        << "Space did not press Start";
}

TEST_F(KeyboardTest, SpaceTicksArrowsChooseAndReturnInAPasswordStarts) {
    FocusOn(CheckBox(ID_USER_PASSWORD_BOX));
    m_keys.Char(WXK_SPACE);
    ASSERT_TRUE(WaitFor([this] { return Pane()->IsUserPasswordEnabled(); }));
    // Ticking hands the focus on to the password box.
    EXPECT_TRUE(WaitFor([] { return FocusId() == ID_USER_PASSWORD_TEXT; }));
    m_keys.Text("key");
    EXPECT_TRUE(WaitFor([this] { return Pane()->GetOptions().userPassword == "key"; }));

    FocusOn(Radio(ID_LEVEL_RC4_128));
    m_keys.Char(WXK_RIGHT);
    EXPECT_TRUE(WaitFor([this] { return Pane()->GetOptions().EncryptionLevel == 0; }))
        << "Right did not choose 40 bits RC4";
    EXPECT_EQ(FocusId(), ID_LEVEL_RC4_40);
    m_keys.Char(WXK_LEFT);
    EXPECT_TRUE(WaitFor([this] { return Pane()->GetOptions().EncryptionLevel == 1; }));

    FocusOn(TextBox(ID_USER_PASSWORD_TEXT));
    m_dialogs.ExpectMessage(kEmptyList);
    m_keys.Char(WXK_RETURN);
    EXPECT_TRUE(WaitFor([this] { return m_dialogs.Messages().size() == 1; }))
        << "Return in the password box did not press Start";
}

TEST_F(KeyboardTest, AltFAltHAndF10OpenTheMenusAndCtrlOAddsFiles) {
    FocusOn(CheckBox(ID_OWNER_PASSWORD_BOX));
    const struct {
        int key;
        int modifiers;
        int menu;
    } keys[] = {{'F', wxMOD_ALT, ID_MENU_FILE},
                {'H', wxMOD_ALT, ID_MENU_HELP},
                {WXK_F10, wxMOD_NONE, ID_MENU_FILE}};
    for (const auto& key : keys)
        EXPECT_EQ(MenuOpenedBy(key.key, key.modifiers), key.menu) << "key " << key.key;

    m_dialogs.QueueFilesCancelled();
    m_keys.Char('O', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([this] { return m_dialogs.FileDialogCount() == 1; }));
}

TEST_F(KeyboardTest, TypingInTheListEditsNoCellHiddenOnesIncluded) {
    UseFakeEngine();
    // A file without pages: its empty page cell once made an edit of the hidden first
    // column (where a new list's cursor sits) end in "Invalid file name!".
    const std::string path = MakeFakePdf("empty.pdf");
    m_engine.pageCount[path] = 0;
    AddPath(path);
    SelectableGrid* grid = List()->GetGrid();
    FocusOn(grid);
    std::vector<wxString> before;
    for (int column = 0; column < grid->GetNumberCols(); ++column)
        before.push_back(grid->GetCellValue(0, column));
    for (int key : {int(WXK_F2), int('x'), int(WXK_RETURN)})
        m_keys.Char(key);
    WaitFor([] { return false; }, 300);
    EXPECT_FALSE(grid->IsCellEditControlShown());
    for (int column = 0; column < grid->GetNumberCols(); ++column)
        EXPECT_EQ(grid->GetCellValue(0, column), before[column]) << "column " << column;
}

TEST_F(KeyboardTest, AfterARunTheFocusIsBackAndEveryKeyWorksAtOnce) {
    UseFakeEngine(10, 20);
    AddPath(MakeFakePdf("one.pdf"));
    ChooseOutputFolder(m_files.path());
    SetPasswords("user", "owner");
    auto helpOpens = [this] { return MenuOpenedBy('H', wxMOD_ALT) == ID_MENU_HELP; };

    // Started by Return in a password box: the keyboard goes back there.
    FocusOn(TextBox(ID_OWNER_PASSWORD_TEXT));
    m_keys.Char(WXK_RETURN);
    ASSERT_TRUE(WaitFor([] { return IsRunActive(); })) << "Return did not start the run";
    EXPECT_EQ(FocusId(), ID_STOP_BUTTON) << "during the run the keys are on Stop";
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_TRUE(WaitFor([] { return FocusId() == ID_OWNER_PASSWORD_TEXT; }))
        << "focus on " << FocusId();
    // The next key adds to the password instead of replacing it.
    m_keys.Char('x');
    EXPECT_TRUE(WaitFor([this] { return TextBox(ID_OWNER_PASSWORD_TEXT)->GetValue() == "ownerx"; }))
        << TextBox(ID_OWNER_PASSWORD_TEXT)->GetValue();
    EXPECT_TRUE(helpOpens()) << "Alt+H needed a Tab after the run";

    // Started by a click on Start: the keyboard lands on Start, and Ctrl+O works.
    Click(ID_LEVEL_AES_128); // clears the statuses, so the row runs again
    wxWindow* start = m_frame->FindWindow(ID_START_BUTTON);
    m_frame->Raise();
    m_keys.MouseMove(start->GetScreenRect().GetPosition() + wxPoint(20, 20));
    m_keys.MouseClick();
    ASSERT_TRUE(WaitFor([] { return IsRunActive(); })) << "the click did not start the run";
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_TRUE(WaitFor([] { return FocusId() == ID_START_BUTTON; })) << "focus on " << FocusId();
    m_dialogs.QueueFilesCancelled();
    m_keys.Char('O', wxMOD_CONTROL);
    EXPECT_TRUE(WaitFor([this] { return m_dialogs.FileDialogCount() == 1; }))
        << "Ctrl+O needed a Tab after the run";
    EXPECT_TRUE(helpOpens());
}

TEST_F(KeyboardTest, PasswordRequiredTakesTheKeysReturnOkEscapeSkipTabToSkipAll) {
    // Each answer comes from keys typed into the real dialog once it is up.
    auto answer = [this](const std::vector<int>& keys, const wxString& text, std::string& typed) {
        wxWindow* focusInDialog = nullptr;
        wxTimer drive;
        drive.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            focusInDialog = wxWindow::FindFocus();
            if (!text.empty())
                m_keys.Text(text.utf8_str());
            for (int key : keys)
                m_keys.Char(key);
        });
        drive.StartOnce(300);
        // A dialog that ignores the keys must fail the test, not hang it.
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
            if (auto* dialog = wxDynamicCast(wxGetActiveWindow(), wxDialog))
                dialog->EndModal(wxID_CANCEL);
        });
        guard.StartOnce(5000);
        const PasswordReply reply = SourcePasswordDialog::Ask(m_frame, "locked.pdf", "", typed);
        EXPECT_TRUE(focusInDialog && focusInDialog->GetId() == SourcePasswordDialog::ID_PASSWORD)
            << "the password box did not have the focus";
        return reply;
    };
    std::string typed;
    EXPECT_EQ(answer({WXK_RETURN}, "key", typed), PasswordReply::Ok);
    EXPECT_EQ(typed, "key");
    typed.clear();
    EXPECT_EQ(answer({WXK_ESCAPE}, "key", typed), PasswordReply::Skip);
    EXPECT_EQ(typed, "") << "a skipped password is handed on";
    // Box, OK, Skip, Skip All in Tab order; Return presses the button it is on.
    EXPECT_EQ(answer({WXK_TAB, WXK_TAB, WXK_TAB, WXK_RETURN}, "", typed), PasswordReply::SkipAll);
}
