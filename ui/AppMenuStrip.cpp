#include "ui/AppMenuStrip.h"

#include "skin/ImageUtil.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"
#include "update/WebCommands.h"

#include <wx/app.h>
#include <wx/menu.h>
#include <wx/translation.h>

wxBEGIN_EVENT_TABLE(AppMenuStrip, SkinMenuStrip)
    EVT_MENU(ID_MENU_ADD_FILES, AppMenuStrip::OnAddFiles)
    EVT_MENU(ID_MENU_OPEN_LOG_DIR, AppMenuStrip::OnOpenLogDirectory)
    EVT_MENU(ID_MENU_EXIT, AppMenuStrip::OnExit)
    EVT_MENU(ID_MENU_HELP_PAGE, AppMenuStrip::OnHelp)
    EVT_MENU(ID_MENU_SUPPORT, AppMenuStrip::OnSupport)
    EVT_MENU(ID_MENU_CHECK_UPDATE, AppMenuStrip::OnCheckForUpdate)
    EVT_MENU(ID_MENU_ABOUT, AppMenuStrip::OnAbout)
wxEND_EVENT_TABLE()

AppMenuStrip::AppMenuStrip() = default;

bool AppMenuStrip::Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                          long style) {
    if (!SkinMenuStrip::Create(background, parent, id, pos, style))
        return false;

    m_fileMenu = new wxMenu;
    m_fileMenu->Append(ID_MENU_ADD_FILES, _("Add File(s)..."), wxEmptyString);
    m_fileMenu->Append(ID_MENU_OPEN_LOG_DIR, _("Open log file directory"), wxEmptyString);
    m_fileMenu->AppendSeparator();
    m_fileMenu->Append(ID_MENU_EXIT, _("Exit"), wxEmptyString);
    AddMenu(ID_MENU_FILE, m_fileMenu,
            ImageUtil::CreateBitmap("image/menubar/file-normal.png", wxBITMAP_TYPE_PNG),
            ImageUtil::CreateBitmap("image/menubar/file-pressed.png", wxBITMAP_TYPE_PNG));

    m_helpMenu = new wxMenu;
    m_helpMenu->Append(ID_MENU_HELP_PAGE, _("Help"), wxEmptyString);
    m_helpMenu->AppendSeparator();
    m_helpMenu->Append(ID_MENU_SUPPORT, _("Support"), wxEmptyString);
    m_helpMenu->AppendSeparator();
    m_helpMenu->Append(ID_MENU_CHECK_UPDATE, _("Check for Update"), wxEmptyString);
    m_helpMenu->AppendSeparator();
    m_helpMenu->Append(ID_MENU_ABOUT, _("About"), wxEmptyString);
    AddMenu(ID_MENU_HELP, m_helpMenu,
            ImageUtil::CreateBitmap("image/menubar/help-normal.png", wxBITMAP_TYPE_PNG),
            ImageUtil::CreateBitmap("image/menubar/help-pressed.png", wxBITMAP_TYPE_PNG));
    m_dragger.Attach(this);
    return true;
}

void AppMenuStrip::EnableCommands(bool enable) {
    if (m_fileMenu)
        m_fileMenu->Enable(ID_MENU_ADD_FILES, enable);
}

bool AppMenuStrip::AreCommandsEnabled() const {
    return m_fileMenu && m_fileMenu->IsEnabled(ID_MENU_ADD_FILES);
}

void AppMenuStrip::OnAddFiles(wxCommandEvent&) {
    wxWindow* list = WindowLookup::FindInTopWindow(this, ID_FILE_LIST);
    if (!list)
        return;
    wxCommandEvent command(wxEVT_MENU, CMD_ADD_FILES);
    command.SetEventObject(this);
    list->GetEventHandler()->ProcessEvent(command);
}

void AppMenuStrip::OnOpenLogDirectory(wxCommandEvent&) {
    OpenLogDirectory();
}

void AppMenuStrip::OnExit(wxCommandEvent&) {
    wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    if (top)
        top->GetEventHandler()->QueueEvent(new wxCloseEvent(wxEVT_CLOSE_WINDOW, 0));
}

void AppMenuStrip::OnHelp(wxCommandEvent&) {
    OpenHelpPage();
}

void AppMenuStrip::OnSupport(wxCommandEvent&) {
    OpenSupportPage();
}

void AppMenuStrip::OnCheckForUpdate(wxCommandEvent&) {
    CheckForUpdate();
}

void AppMenuStrip::OnAbout(wxCommandEvent&) {
    ShowAboutDialog();
}
