#include "app/MainApp.h"

#include "app/CommandLineFiles.h"
#include "app/InstanceHandOver.h"
#include "app/StartupSequence.h"
#include "batch/PdfEngineFactory.h"
#include "ui/run/RunState.h"
#include "core/AppLanguage.h"
#include "core/AppUtil.h"
#include "core/PathText.h"
#include "engine/PdfEngineService.h"
#include "ui/MainWindow.h"
#include "ui/WindowIds.h"
#include "update/UpdateResultEvent.h"

#include <wx/frame.h>

wxIMPLEMENT_APP(MainApp);

namespace {
// How long shutdown waits for a worker that is aborting its file.
const int kWorkerShutdownMs = 5000;
} // namespace

MainApp::MainApp() = default;
MainApp::~MainApp() = default;

bool MainApp::OnInit() {
    // The base class's OnInit is not called: the program takes no options, only
    // files and folders to add to the list.
    PathText::Install();
    StartupSequence::RecordProgramPath(argc > 0 ? wxString(argv[0]) : wxString());
    // Before any window: every text is taken in the chosen language when made.
    AppLanguage::UseEnvironment();
    const wxArrayString files = CommandLineFiles::FromArguments(argv.GetArguments());

    m_handOver = std::make_unique<InstanceHandOver>(InstanceHandOver::DefaultFolder());
    const bool first = m_handOver->Claim([this](const wxArrayString& paths) {
        CommandLineFiles::OpenInWindow(wxDynamicCast(GetTopWindow(), wxTopLevelWindow), paths);
    });
    if (!first && m_handOver->HandOver(files)) {
        m_handedOver = true;
        return true;
    }
    // Either this is the first start, or the one holding the lock does not answer
    // (it hangs, or its process id now belongs to another program): run on our own.

    StartupSequence::CreateProcessInstances();
    StartupSequence::InstallImageHandlers();
    SetPdfEngineFactory([] { return std::make_unique<PdfEngineService>(); });

    auto* frame = new MainWindow;
    frame->Create(ID_MAIN_FRAME, AppUtil::GetProductName());
    SetTopWindow(frame);
    frame->Show();
    // Added once the window is on the screen, so the list fills in front of the user;
    // queued on the frame, so nothing runs if it is gone by then.
    if (!files.empty())
        frame->CallAfter([frame, files] { CommandLineFiles::OpenInWindow(frame, files); });
    return true;
}

int MainApp::OnRun() {
    return m_handedOver ? 0 : wxApp::OnRun();
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
    // Gives up the lock and removes the socket.
    m_handOver.reset();
    return 0;
}
