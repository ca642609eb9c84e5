// The file list: adding and its refusals, drops, editing and the checks before a
// run. Files are judged by the scripted engine.

#include "FakeEngine.h"
#include "MainWindowFixture.h"
#include "MouseSim.h"
#include "WaitFor.h"
#include "ui/run/JobEvents.h"
#include "ui/run/RunState.h"
#include "core/DomainConfig.h"
#include "skin/SelectableGrid.h"
#include "ui/FileDropTarget.h"
#include "ui/MainWindow.h"
#include "ui/FileListPanel.h"
#include "ui/WindowIds.h"

#include <wx/menu.h>
#include <wx/msgdlg.h>

namespace {
wxString W(const std::string& text) {
    return wxString::FromUTF8(text);
}
} // namespace

class FileListTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        UseFakeEngine();
    }

    // Adds n files named f0.pdf ... and returns their paths.
    std::vector<std::string> AddFiles(int n) {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) {
            paths.push_back(MakeFakePdf("f" + std::to_string(i) + ".pdf"));
            AddPath(paths.back());
        }
        return paths;
    }

    void SelectOnly(int row) {
        List()->GetGrid()->ClearSelection();
        List()->GetGrid()->SelectRow(row);
    }

    void SendCommand(int id) {
        wxCommandEvent command(wxEVT_MENU, id);
        List()->GetEventHandler()->ProcessEvent(command);
        PumpEvents();
    }
};

TEST_F(FileListTest, AddingRefusesEmptyEncryptedDamagedAndForeignFiles) {
    const std::string empty = m_files.file("empty.pdf");
    TempDir::WriteFile(empty, "");
    const std::string locked = MakeFakePdf("locked.pdf", FakeEngine::kEncrypted);
    const std::string broken = MakeFakePdf("broken.pdf", FakeEngine::kDamaged);
    const std::string text = m_files.file("letter.pdf");
    TempDir::WriteFile(text, "Dear reader, this is no PDF.");
    const std::string good = MakeFakePdf("good.pdf");

    m_dialogs.ExpectMessage(" It's not a valid file,file size is 0KB.  \n" + W(empty));
    // An encrypted file is asked for; skipped, it stays out as it always did.
    m_dialogs.QueuePasswordReply(PasswordReply::Skip);
    m_dialogs.ExpectMessage(" Fail to open broken.pdf, it may be destroyed!");
    m_dialogs.ExpectMessage("letter.pdf can't support!");
    AddPaths({empty, locked, broken, text, good});
    ASSERT_EQ(m_dialogs.PasswordQuestions().size(), 1u);
    EXPECT_EQ(m_dialogs.PasswordQuestions()[0].fileName, "locked.pdf");
    for (const RecordedMessage& message : m_dialogs.Messages()) {
        EXPECT_EQ(message.caption, "Brisklowan PDF Zerovovor");
        EXPECT_TRUE(message.style & wxICON_INFORMATION);
    }
    ASSERT_EQ(List()->GetRowCount(), 1);
    EXPECT_EQ(List()->GetCellText(0, 1), "good.pdf");
    EXPECT_FALSE(List()->GetCellText(0, 2).empty());
    EXPECT_EQ(List()->GetCellText(0, 3), "2");
    EXPECT_EQ(List()->GetCellText(0, 5), W(good));
    EXPECT_EQ(List()->GetCellText(0, 7), "0");
    EXPECT_EQ(g_config->GetLastConvertDir(), W(m_files.path()));
}

TEST_F(FileListTest, AFailedRowSaysWhyAndANameShowsItsFullPath) {
    const std::vector<std::string> paths = AddFiles(2);
    // As the run reports a failure: the reason travels in the event's text.
    auto* fail = new StatusCellEvent(wxEVT_PZ_STATUS_CELL, ID_FILE_LIST);
    fail->SetRow(1);
    fail->SetCol(STATUS_COLUMN);
    fail->SetState(CELL_FAIL);
    fail->SetString("source cannot be read");
    List()->GetEventHandler()->QueueEvent(fail);
    PumpEvents();
    ASSERT_EQ(Status(1), "Fail");

    SelectableGrid* grid = List()->GetGrid();
    auto tipOver = [grid](int row, int column) {
        const wxRect cell = grid->CellToRect(row, column);
        SendMouse(grid->GetGridWindow(), wxEVT_MOTION,
                  grid->CalcScrolledPosition(cell.GetPosition() + cell.GetSize() / 2));
        return grid->GetGridWindow()->GetToolTipText();
    };
    EXPECT_EQ(tipOver(1, STATUS_COLUMN), "source cannot be read");
    EXPECT_EQ(tipOver(0, STATUS_COLUMN), "");
    EXPECT_EQ(tipOver(0, 1), W(paths[0]));
    EXPECT_EQ(tipOver(1, 1), W(paths[1]));
    EXPECT_EQ(tipOver(1, 2), "");

    // The reason stays with its row when the row moves.
    SelectOnly(1);
    List()->MoveUp();
    EXPECT_EQ(tipOver(0, STATUS_COLUMN), "source cannot be read");
}

TEST_F(FileListTest, TheSameFileTwiceGivesTwoRows) {
    const std::string path = MakeFakePdf("twice.pdf");
    AddPath(path);
    AddPath(path);
    ASSERT_EQ(List()->GetRowCount(), 2);
    EXPECT_EQ(List()->GetCellText(1, 5), W(path));
}

TEST_F(FileListTest, DroppedFolderBringsItsPdfsOfAnyCaseButNotSubfolders) {
    const std::string folder = m_files.file("drop");
    TempDir::MakeDir(folder);
    TempDir::MakeDir(folder + "/sub");
    TempDir::WriteFile(folder + "/a.pdf", "%PDF-1.4\n%%EOF\n");
    TempDir::WriteFile(folder + "/b.PDF", "%PDF-1.4\n%%EOF\n");
    TempDir::WriteFile(folder + "/notes.txt", "text");
    TempDir::WriteFile(folder + "/sub/c.pdf", "%PDF-1.4\n%%EOF\n");

    wxArrayString dropped;
    dropped.Add(W(folder));
    EXPECT_TRUE(FileDropTarget::DropOnList(List(), dropped));
    EXPECT_TRUE(m_dialogs.Messages().empty());
    ASSERT_EQ(List()->GetRowCount(), 2);
    wxArrayString names;
    names.Add(List()->GetCellText(0, 1));
    names.Add(List()->GetCellText(1, 1));
    names.Sort();
    EXPECT_EQ(names[0], "a.pdf");
    EXPECT_EQ(names[1], "b.PDF");
}

TEST_F(FileListTest, DropWithoutPdfsIsRefusedUnlessAFileComesWithIt) {
    const std::string folder = m_files.file("nothing");
    TempDir::MakeDir(folder);
    TempDir::WriteFile(folder + "/readme.txt", "text");
    wxArrayString onlyFolder;
    onlyFolder.Add(W(folder));

    // Through the drop target the panel really has.
    auto* target = dynamic_cast<wxFileDropTarget*>(List()->GetDropTarget());
    ASSERT_NE(target, nullptr);
    m_dialogs.ExpectMessage("No PDF files(*.pdf) Files Added !");
    EXPECT_FALSE(target->OnDropFiles(5, 5, onlyFolder));
    EXPECT_EQ(List()->GetRowCount(), 0);

    for (bool fileFirst : {true, false}) {
        m_dialogs.Clear();
        const std::string file = MakeFakePdf(fileFirst ? "first.pdf" : "second.pdf");
        wxArrayString mixed;
        if (fileFirst)
            mixed.Add(W(file));
        mixed.Add(W(folder));
        if (!fileFirst)
            mixed.Add(W(file));
        EXPECT_TRUE(FileDropTarget::DropOnList(List(), mixed));
        EXPECT_TRUE(m_dialogs.Messages().empty()) << m_dialogs.LastMessage();
    }
    EXPECT_EQ(List()->GetRowCount(), 2);
}

TEST_F(FileListTest, DroppedForeignFilesAreEachNamedAndNothingIsAdded) {
    const std::string a = m_files.file("a.txt");
    const std::string b = m_files.file("b.doc");
    TempDir::WriteFile(a, "x");
    TempDir::WriteFile(b, "y");
    wxArrayString dropped;
    dropped.Add(W(a));
    dropped.Add(W(b));
    m_dialogs.ExpectMessage("Fail to open file  \n " + W(a));
    m_dialogs.ExpectMessage("Fail to open file  \n " + W(b));
    FileDropTarget::DropOnList(List(), dropped);
    EXPECT_EQ(List()->GetRowCount(), 0);
}

TEST_F(FileListTest, DeleteAsksAndRemovesOnlyTheSelectedRows) {
    m_dialogs.ExpectMessage("Delete failed! No file!");
    List()->DeleteSelected();

    AddFiles(4);
    List()->GetGrid()->ClearSelection();
    m_dialogs.ExpectMessage("Delete failed! No selected file!");
    List()->DeleteSelected();

    List()->GetGrid()->SelectRow(1);
    List()->GetGrid()->SelectRow(3, true);
    const wxString question = "Are you sure you want to remove the selected items from the list?";
    m_dialogs.ExpectMessage(question, wxCANCEL);
    List()->DeleteSelected();
    EXPECT_EQ(List()->GetRowCount(), 4);

    m_dialogs.ExpectMessage(question, wxOK);
    List()->DeleteSelected();
    ASSERT_EQ(List()->GetRowCount(), 2);
    EXPECT_EQ(List()->GetCellText(0, 1), "f0.pdf");
    EXPECT_EQ(List()->GetCellText(1, 1), "f2.pdf");
}

TEST_F(FileListTest, DeleteKeyAndCtrlAWorkOnTheGrid) {
    AddFiles(3);
    wxWindow* cells = List()->GetGrid()->GetGridWindow();
    wxKeyEvent ctrlA(wxEVT_KEY_DOWN);
    ctrlA.m_keyCode = 'A';
    ctrlA.SetControlDown(true);
    cells->GetEventHandler()->ProcessEvent(ctrlA);
    wxArrayInt selected;
    EXPECT_EQ(List()->GetSelectedRows(selected), 3);

    m_dialogs.QueueMessageReply(wxOK);
    wxKeyEvent del(wxEVT_KEY_DOWN);
    del.m_keyCode = WXK_DELETE;
    cells->GetEventHandler()->ProcessEvent(del);
    EXPECT_EQ(List()->GetRowCount(), 0);
}

TEST_F(FileListTest, ClearAllAsksFirst) {
    m_dialogs.ExpectMessage("Clear failed! No file!");
    SendCommand(CMD_CLEAR_ALL);
    AddFiles(2);
    const wxString question = "Are you sure you want to clear all the items from the list?";
    m_dialogs.ExpectMessage(question, wxCANCEL);
    SendCommand(CMD_CLEAR_ALL);
    EXPECT_EQ(List()->GetRowCount(), 2);
    m_dialogs.ExpectMessage(question, wxOK);
    SendCommand(CMD_CLEAR_ALL);
    EXPECT_EQ(List()->GetRowCount(), 0);
    EXPECT_EQ(List()->GetDoneFlag(0), 0);
}

TEST_F(FileListTest, InvertSelectionSwapsSelectedAndUnselectedRows) {
    AddFiles(3);
    List()->GetGrid()->ClearSelection();
    List()->InvertSelection();
    wxArrayInt selected;
    EXPECT_EQ(List()->GetSelectedRows(selected), 3) << "nothing selected: all rows";
    SelectOnly(1);
    List()->InvertSelection();
    ASSERT_EQ(List()->GetSelectedRows(selected), 2);
    EXPECT_EQ(selected[0], 0);
    EXPECT_EQ(selected[1], 2);
}

TEST_F(FileListTest, MoveRefusalsAndEdges) {
    m_dialogs.ExpectMessage("Move failed! No file!");
    List()->MoveUp();
    AddFiles(3);
    List()->GetGrid()->ClearSelection();
    m_dialogs.ExpectMessage("Move failed! No selected file!");
    List()->MoveDown();
    List()->GetGrid()->SelectRow(0);
    List()->GetGrid()->SelectRow(1, true);
    // The menu offers no move for several rows; the commands still refuse.
    wxMenu menu;
    List()->FillContextMenu(menu);
    EXPECT_FALSE(menu.IsEnabled(CMD_MOVE_UP));
    EXPECT_FALSE(menu.IsEnabled(CMD_MOVE_DOWN));
    m_dialogs.ExpectMessage("Move up failed! Please select one file!");
    List()->MoveUp();
    m_dialogs.ExpectMessage("Move down failed! Please select one file!");
    List()->MoveDown();

    m_dialogs.Clear();
    SelectOnly(0);
    wxMenu oneRow;
    List()->FillContextMenu(oneRow);
    EXPECT_TRUE(oneRow.IsEnabled(CMD_MOVE_UP));
    EXPECT_TRUE(oneRow.IsEnabled(CMD_MOVE_DOWN));
    List()->MoveUp();
    SelectOnly(2);
    List()->MoveDown();
    EXPECT_TRUE(m_dialogs.Messages().empty());
    EXPECT_EQ(List()->GetCellText(0, 1), "f0.pdf");
    EXPECT_EQ(List()->GetCellText(2, 1), "f2.pdf");
}

TEST_F(FileListTest, MovingARowCarriesEveryColumnItsStatusAndDoneFlag) {
    ChooseOutputFolder(m_files.path());
    AddFiles(3);
    SetPasswords("user", "");
    // Encrypt only the first file, so it alone has a status and a done flag.
    SelectOnly(0);
    SendCommand(CMD_ENCRYPT_SELECTED);
    ASSERT_TRUE(WaitForRunToEnd());
    ASSERT_EQ(Status(0), "Finished");
    ASSERT_EQ(List()->GetDoneFlag(0), 1);
    const wxString size0 = List()->GetCellText(0, 2);

    SelectOnly(0);
    List()->MoveDown();
    EXPECT_EQ(List()->GetCellText(1, 1), "f0.pdf");
    EXPECT_EQ(List()->GetCellText(1, 2), size0);
    EXPECT_EQ(List()->GetCellText(1, 3), "2");
    EXPECT_EQ(Status(1), "Finished");
    EXPECT_EQ(List()->GetCellText(1, 5), W(m_files.file("f0.pdf")));
    EXPECT_EQ(List()->GetDoneFlag(1), 1);
    EXPECT_EQ(List()->GetCellText(0, 1), "f1.pdf");
    EXPECT_EQ(Status(0), "");
    EXPECT_EQ(List()->GetDoneFlag(0), 0);
    wxArrayInt selected;
    ASSERT_EQ(List()->GetSelectedRows(selected), 1);
    EXPECT_EQ(selected[0], 1) << "the moved row stays selected";

    List()->MoveUp();
    EXPECT_EQ(List()->GetCellText(0, 1), "f0.pdf");
    EXPECT_EQ(List()->GetDoneFlag(0), 1);
    EXPECT_EQ(Status(0), "Finished");
}

TEST_F(FileListTest, StartChecksComeInTheirOrder) {
    g_config->SetLastOutputDir("");
    m_dialogs.ExpectMessage("Output folder is empty.");
    PressStart();
    EXPECT_TRUE(m_frame->FindWindow(ID_START_BUTTON)->IsShown());

    g_config->SetLastOutputDir(W(m_files.path()));
    m_dialogs.ExpectMessage("The list is empty. Please add the PDF files to encrypt first (Add, "
                            "Ctrl+O, or drop them on the list).");
    PressStart();

    AddFiles(1);
    m_dialogs.ExpectMessage("Please provide password to encrypt pdf file(s).");
    PressStart();
    Click(ID_USER_PASSWORD_BOX);
    m_dialogs.ExpectMessage("No user password provided.");
    PressStart();
    TypePassword(ID_USER_PASSWORD_TEXT, "same");
    Click(ID_OWNER_PASSWORD_BOX);
    m_dialogs.ExpectMessage("No owner password provided.");
    PressStart();
    TypePassword(ID_OWNER_PASSWORD_TEXT, "same");
    m_dialogs.ExpectMessage("The User and Owner Passwords cannot be the same.");
    PressStart();
    EXPECT_EQ(g_runState.load(), RUN_IDLE);
    // Text in both directions, which SASLprep refuses at AES-256, may still be half
    // typed in the box; Start refuses it.
    Click(ID_LEVEL_AES_256);
    TypePassword(ID_OWNER_PASSWORD_TEXT, wxString::FromUTF8("\xD7\x90"
                                                            "b"));
    m_dialogs.ExpectMessage("Passwords for AES-256 cannot mix right-to-left and left-to-right "
                            "text (SASLprep forbids it).");
    PressStart();
    EXPECT_EQ(g_runState.load(), RUN_IDLE);

    // Encrypt Selected with nothing selected ends silently, after the folder check.
    m_dialogs.Clear();
    TypePassword(ID_OWNER_PASSWORD_TEXT, "different");
    List()->GetGrid()->ClearSelection();
    SendCommand(CMD_ENCRYPT_SELECTED);
    EXPECT_TRUE(m_dialogs.Messages().empty());
    EXPECT_EQ(g_runState.load(), RUN_IDLE);
    g_config->SetLastOutputDir("");
    m_dialogs.ExpectMessage("Output folder is empty.");
    SendCommand(CMD_ENCRYPT_SELECTED);
}

TEST_F(FileListTest, OwnerPasswordAloneStartsARun) {
    ChooseOutputFolder(m_files.path());
    AddFiles(1);
    SetPasswords("", "owner");
    PressStart();
    EXPECT_TRUE(m_dialogs.Messages().empty()) << m_dialogs.LastMessage();
    ASSERT_TRUE(WaitForRunToEnd());
    EXPECT_EQ(Status(0), "Finished");
    EXPECT_TRUE(TempDir::Exists(m_files.file("f0_encryption.pdf")));
}

TEST_F(FileListTest, AProtectedRowTakesItsOwnPasswordWhereverItMoves) {
    ChooseOutputFolder(m_files.path());
    AddFiles(1);
    const std::string locked = MakeFakePdf("locked.pdf", FakeEngine::kEncrypted);
    m_engine.sourcePasswords[locked] = "key";
    m_dialogs.QueuePassword("key");
    AddPath(locked);
    ASSERT_EQ(List()->GetRowCount(), 2);
    EXPECT_FALSE(List()->IsProtected(0));
    EXPECT_TRUE(List()->IsProtected(1));

    SelectOnly(1);
    List()->MoveUp();
    EXPECT_EQ(List()->GetCellText(0, 1), "locked.pdf");
    EXPECT_TRUE(List()->IsProtected(0));
    EXPECT_FALSE(List()->IsProtected(1));
    SetPasswords("user", "owner");
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd());
    // Per file, as the command line's source password: the plain file gets none.
    std::map<std::string, std::string> sourcePasswords;
    for (const FakeEncryptCall& call : m_engine.Calls())
        sourcePasswords[call.source] = call.sourcePassword;
    EXPECT_EQ(sourcePasswords[locked], "key");
    EXPECT_EQ(sourcePasswords[m_files.file("f0.pdf")], "");
    EXPECT_EQ(m_engine.Calls().size(), 2u);
}

TEST_F(FileListTest, DroppedNamesWithTheListSeparatorArriveWhole) {
    const std::string folder = m_files.file("odd");
    TempDir::MakeDir(folder);
    TempDir::WriteFile(folder + "/in|folder.pdf", "%PDF-1.4\n%%EOF\n");
    const std::string loose = MakeFakePdf("a|b c\xC3\xA9.pdf");
    wxArrayString dropped;
    dropped.Add(W(folder));
    dropped.Add(W(loose));
    EXPECT_TRUE(FileDropTarget::DropOnList(List(), dropped));
    EXPECT_TRUE(m_dialogs.Messages().empty()) << m_dialogs.LastMessage();
    ASSERT_EQ(List()->GetRowCount(), 2);
    EXPECT_EQ(List()->GetCellText(0, 1), "in|folder.pdf");
    EXPECT_EQ(List()->GetCellText(1, 5), W(loose));
}
