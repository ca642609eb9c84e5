#include "app/MainApp.h"

#include "app/StartupSequence.h"
#include "core/AppUtil.h"

#include <wx/frame.h>

wxIMPLEMENT_APP(MainApp);

bool MainApp::OnInit() {
    // The base class's OnInit is not called: the program takes no command-line options.
    StartupSequence::RecordProgramPath(argc > 0 ? wxString(argv[0]) : wxString());
    StartupSequence::CreateProcessInstances();
    StartupSequence::InstallImageHandlers();

    const wxString title = AppUtil::GetProductName();
    wxFrame* frame = new wxFrame(nullptr, 2000, title, wxDefaultPosition, wxSize(735, 620));
    SetTopWindow(frame);
    frame->Show();
    return true;
}

int MainApp::OnExit() {
    StartupSequence::ReleaseProcessInstances();
    return 0;
}
