#pragma once
// A fresh main window for each test, in a temporary home with the staged theme.
// Boxes and dialogs are answered by FakeDialogs; nothing touches the real
// documents folder.

#include "FakeDialogs.h"
#include "FakeEngine.h"
#include "TempDir.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>
#include <wx/string.h>

#include <ostream>
#include <string>
#include <vector>

// Readable wxString values in failure messages.
inline void PrintTo(const wxString& text, std::ostream* out) {
    *out << '"' << text.utf8_str() << '"';
}

class SecurityOptionsPane;
class FileListButtons;
class OutputFolderPanel;
class FileListPanel;
class StartPanel;
class AppMenuStrip;
class SkinCheckBox;
class SkinRadioButton;
class wxTextCtrl;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Encryption through the scripted engine (the real one stays installed otherwise).
    void UseFakeEngine(int steps = 4, int stepDelayMs = 5);

    MainWindow* Frame() const { return m_frame; }
    FileListPanel* List() const;
    SecurityOptionsPane* Pane() const;
    FileListButtons* ToolBar() const;
    OutputFolderPanel* Output() const;
    StartPanel* Start() const;
    AppMenuStrip* MenuBar() const;
    SkinCheckBox* CheckBox(int id) const;
    SkinRadioButton* Radio(int id) const;
    wxTextCtrl* TextBox(int id) const;

    // The user's actions, as the controls receive them.
    void Click(int id);
    void TypePassword(int id, const wxString& text);
    // Ticks the boxes and fills the passwords ("" leaves a box unticked).
    void SetPasswords(const wxString& user, const wxString& owner);
    void PressStart();
    // Points the output folder at a folder through the browse dialog.
    void ChooseOutputFolder(const std::string& folder);

    // Writes a small fake-engine PDF; extra text goes into its body.
    std::string MakeFakePdf(const std::string& name, const std::string& extra = "");
    void AddPath(const std::string& path);
    // Adds files as the file dialog hands them over.
    void AddPaths(const std::vector<std::string>& paths);

    // Waits for the end of the current run, job-finished handled.
    bool WaitForRunToEnd(int timeoutMs = 20000);
    wxString Status(int row) const;

    ScopedHome m_home;
    TempDir m_files;
    FakeDialogs m_dialogs;
    FakeEngine m_engine; // installed by UseFakeEngine
    MainWindow* m_frame = nullptr;
};
