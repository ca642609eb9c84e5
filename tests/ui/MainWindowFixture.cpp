#include "MainWindowFixture.h"

#include "FakeEngine.h"
#include "ThemeSandbox.h"
#include "WaitFor.h"
#include "ui/run/RunState.h"
#include "core/AppUtil.h"
#include "core/DomainConfig.h"
#include "core/PathText.h"
#include "engine/PdfEngine.h"
#include "skin/FaceLayout.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "ui/SecurityOptionsPane.h"
#include "ui/FileListButtons.h"
#include "ui/MainWindow.h"
#include "ui/OutputFolderPanel.h"
#include "ui/FileListPanel.h"
#include "ui/StartPanel.h"
#include "ui/WindowIds.h"
#include "ui/AppMenuStrip.h"

#include <wx/app.h>
#include <wx/textctrl.h>

void MainWindowTest::SetUp() {
    g_runState = RUN_IDLE;
    g_stopRequested = false;
    ThemeSandbox::UseStagedTheme();
    PdfEngine::SetHostProgram(PZ_ENGINE_HOST);
    g_config = new DomainConfig(AppUtil::GetSettingsPath());
    g_faceLayout = new FaceLayout;
    LoadFaceLayout(AppUtil::GetLayoutPath(), *g_faceLayout);

    m_frame = new MainWindow;
    ASSERT_TRUE(m_frame->Create(ID_MAIN_FRAME, AppUtil::GetProductName()));
    wxTheApp->SetTopWindow(m_frame);
    m_frame->Show();
    PumpEvents();
}

void MainWindowTest::TearDown() {
    // A run still going is stopped the way closing the window stops it.
    if (IsRunActive()) {
        g_stopRequested = true;
        WaitForRunEnd(10000);
    }
    if (m_frame && !m_frame->IsBeingDeleted())
        m_frame->Destroy();
    m_frame = nullptr;
    PumpEvents();
    wxTheApp->SetTopWindow(nullptr);
    delete g_config;
    g_config = nullptr;
    delete g_faceLayout;
    g_faceLayout = nullptr;
    g_stopRequested = false;
    g_runState = RUN_IDLE;
}

void MainWindowTest::UseFakeEngine(int steps, int stepDelayMs) {
    m_engine.Install();
    m_engine.SetTiming(steps, stepDelayMs);
}

FileListPanel* MainWindowTest::List() const {
    return wxDynamicCast(m_frame->FindWindow(ID_FILE_LIST), FileListPanel);
}

SecurityOptionsPane* MainWindowTest::Pane() const {
    return dynamic_cast<SecurityOptionsPane*>(m_frame->FindWindow(ID_OPTIONS_PANE));
}

FileListButtons* MainWindowTest::ToolBar() const {
    return dynamic_cast<FileListButtons*>(m_frame->FindWindow(ID_TOOL_BAR));
}

OutputFolderPanel* MainWindowTest::Output() const {
    return wxDynamicCast(m_frame->FindWindow(ID_OUTPUT_PANEL), OutputFolderPanel);
}

StartPanel* MainWindowTest::Start() const {
    return wxDynamicCast(m_frame->FindWindow(ID_START_PANEL), StartPanel);
}

AppMenuStrip* MainWindowTest::MenuBar() const {
    return dynamic_cast<AppMenuStrip*>(m_frame->FindWindow(ID_MENU_BAR));
}

SkinCheckBox* MainWindowTest::CheckBox(int id) const {
    return wxDynamicCast(m_frame->FindWindow(id), SkinCheckBox);
}

SkinRadioButton* MainWindowTest::Radio(int id) const {
    return wxDynamicCast(m_frame->FindWindow(id), SkinRadioButton);
}

wxTextCtrl* MainWindowTest::TextBox(int id) const {
    return wxDynamicCast(m_frame->FindWindow(id), wxTextCtrl);
}

void MainWindowTest::Click(int id) {
    wxWindow* window = m_frame->FindWindow(id);
    ASSERT_NE(window, nullptr) << "no window " << id;
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetEventObject(window);
    down.SetPosition(wxPoint(3, 3));
    down.SetLeftDown(true);
    window->GetEventHandler()->ProcessEvent(down);
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetEventObject(window);
    up.SetPosition(wxPoint(3, 3));
    window->GetEventHandler()->ProcessEvent(up);
    PumpEvents();
}

void MainWindowTest::TypePassword(int id, const wxString& text) {
    wxTextCtrl* box = TextBox(id);
    ASSERT_NE(box, nullptr);
    box->SetValue(text); // sends the text-changed event, as typing does
    PumpEvents();
}

void MainWindowTest::SetPasswords(const wxString& user, const wxString& owner) {
    if (!user.empty()) {
        if (!CheckBox(ID_USER_PASSWORD_BOX)->IsChecked())
            Click(ID_USER_PASSWORD_BOX);
        TypePassword(ID_USER_PASSWORD_TEXT, user);
    }
    if (!owner.empty()) {
        if (!CheckBox(ID_OWNER_PASSWORD_BOX)->IsChecked())
            Click(ID_OWNER_PASSWORD_BOX);
        TypePassword(ID_OWNER_PASSWORD_TEXT, owner);
    }
}

void MainWindowTest::PressStart() {
    wxCommandEvent click(wxEVT_BUTTON, ID_START_BUTTON);
    wxWindow* button = m_frame->FindWindow(ID_START_BUTTON);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->IsShown()) << "Start is not shown";
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
    PumpEvents();
}

void MainWindowTest::ChooseOutputFolder(const std::string& folder) {
    m_dialogs.QueueFolder(wxString::FromUTF8(folder));
    wxWindow* browse = m_frame->FindWindow(ID_OUTPUT_BROWSE);
    ASSERT_NE(browse, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, ID_OUTPUT_BROWSE);
    click.SetEventObject(browse);
    browse->GetEventHandler()->ProcessEvent(click);
    PumpEvents();
}

std::string MainWindowTest::MakeFakePdf(const std::string& name, const std::string& extra) {
    const std::string path = m_files.file(name);
    TempDir::WriteFile(path, "%PDF-1.4\n% test file " + name + "\n" + extra + "\n%%EOF\n");
    return path;
}

void MainWindowTest::AddPath(const std::string& path) {
    AddPaths({path});
}

void MainWindowTest::AddPaths(const std::vector<std::string>& paths) {
    wxArrayString list;
    for (const std::string& path : paths)
        list.Add(PathText::FromBytes(path));
    List()->AddFileList(list);
    PumpEvents();
}

bool MainWindowTest::WaitForRunToEnd(int timeoutMs) {
    const bool ended = WaitFor([] { return !IsRunActive(); }, timeoutMs);
    // The job-finished event still has to reach the frame.
    return WaitFor([this] { return !List()->IsBusy(); }, timeoutMs) && ended;
}

wxString MainWindowTest::Status(int row) const {
    return List()->GetCellText(row, STATUS_COLUMN);
}
