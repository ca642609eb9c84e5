// The output folder strip: choosing, refusing and opening the folder.

#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "core/DomainConfig.h"
#include "ui/OutputFolderPanel.h"
#include "ui/WindowIds.h"

#include <wx/textctrl.h>

#include <unistd.h>

class OutputPanelTest : public MainWindowTest {
protected:
    void Press(int id) {
        wxWindow* button = m_frame->FindWindow(id);
        ASSERT_NE(button, nullptr);
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
        PumpEvents();
    }
};

TEST_F(OutputPanelTest, AChosenFolderIsShownAndRemembered) {
    const std::string folder = m_files.file("chosen");
    TempDir::MakeDir(folder);
    ChooseOutputFolder(folder);
    EXPECT_EQ(Output()->GetOutputDir(), wxString::FromUTF8(folder));
    EXPECT_EQ(g_config->GetLastOutputDir(), wxString::FromUTF8(folder));
    EXPECT_EQ(m_dialogs.FolderDialogCount(), 1);
    EXPECT_TRUE(m_dialogs.Messages().empty());
    // Open stays on the strip's card, which ends 6 pixels before the panel does.
    EXPECT_LE(m_frame->FindWindow(ID_OUTPUT_OPEN)->GetRect().GetRight(), Output()->GetSize().x - 8);

    // The dialog starts in the folder shown.
    m_dialogs.QueueFolderCancelled();
    Press(ID_OUTPUT_BROWSE);
    EXPECT_EQ(m_dialogs.LastDialogDirectory(), wxString::FromUTF8(folder));
    EXPECT_EQ(Output()->GetOutputDir(), wxString::FromUTF8(folder)) << "cancel changes nothing";
}

TEST_F(OutputPanelTest, AFolderThatDoesNotExistIsRefused) {
    const std::string good = m_files.file("good");
    TempDir::MakeDir(good);
    ChooseOutputFolder(good);

    m_dialogs.ExpectMessage("The folder is unwritable, please choose another one!");
    ChooseOutputFolder(m_files.file("never-made"));
    EXPECT_EQ(Output()->GetOutputDir(), wxString::FromUTF8(good));
    EXPECT_EQ(g_config->GetLastOutputDir(), wxString::FromUTF8(good));
}

TEST_F(OutputPanelTest, AReadOnlyFolderIsRefused) {
    const std::string good = m_files.file("good");
    TempDir::MakeDir(good);
    ChooseOutputFolder(good);
    const std::string locked = m_files.file("locked");
    TempDir::MakeDir(locked);
    ::chmod(locked.c_str(), 0555);
    if (::access(locked.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with rights that write into read-only folders";
    m_dialogs.ExpectMessage("The folder is unwritable, please choose another one!");
    ChooseOutputFolder(locked);
    EXPECT_EQ(Output()->GetOutputDir(), wxString::FromUTF8(good));
}

TEST_F(OutputPanelTest, OpenShowsTheFolderOrSaysItIsGone) {
    const std::string folder = m_files.file("to-open");
    TempDir::MakeDir(folder);
    ChooseOutputFolder(folder);
    Press(ID_OUTPUT_OPEN);
    ASSERT_EQ(m_dialogs.OpenedFolders().size(), 1u);
    EXPECT_EQ(m_dialogs.OpenedFolders()[0], wxString::FromUTF8(folder));

    ::rmdir(folder.c_str());
    m_dialogs.ExpectMessage("Output directory doesn't exist.");
    Press(ID_OUTPUT_OPEN);
    EXPECT_EQ(m_dialogs.OpenedFolders().size(), 1u) << "opened a folder that is gone";
}
