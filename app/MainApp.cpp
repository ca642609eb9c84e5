#include "app/MainApp.h"

#include "app/StartupSequence.h"
#include "batch/PdfEngineFactory.h"
#include "batch/RunState.h"
#include "core/AppUtil.h"
#include "core/PathText.h"
#include "engine/api/PdfMSService.h"
#include "ui/MainFrame.h"
#include "update/UpdateResultEvent.h"

#include <wx/frame.h>

wxIMPLEMENT_APP(MainApp);

namespace {
// How long shutdown waits for a worker that is aborting its file.
const int kWorkerShutdownMs = 5000;
} // namespace

bool MainApp::OnInit() {
    // The base class's OnInit is not called: the program takes no command-line options.
    StartupSequence::RecordProgramPath(argc > 0 ? wxString(argv[0]) : wxString());
    StartupSequence::CreateProcessInstances();
    StartupSequence::InstallImageHandlers();
    SetPdfEngineFactory({CreatePdfMSService, FreePdfMSService});
    PathText::Install();

    const wxString title = AppUtil::GetProductName();
    // The concrete window is chosen by this one name.
    wxObject* object = wxCreateDynamicObject("MainFramePDFENCRYPTION");
    MainFrame* frame = wxDynamicCast(object, MainFrame);
    if (!frame) {
        delete object;
        return false;
    }
    frame->Create(2000, title);
    SetTopWindow(frame);
    frame->Show();
    return true;
}

int MainApp::OnExit() {
    DetachUpdateResultTarget();
    // Closing during a run set the stop flag; the worker aborts the engine and
    // removes its temporary file. Give it a few seconds before the instances it
    // may still log through go away.
    if (IsRunActive()) {
        g_stopRequested = true;
        WaitForRunEnd(kWorkerShutdownMs);
    }
    StartupSequence::ReleaseProcessInstances();
    return 0;
}
