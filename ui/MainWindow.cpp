#include "ui/MainWindow.h"

#include "ui/run/JobEvents.h"
#include "ui/run/EncryptionJob.h"
#include "batch/ProbeFile.h"
#include "ui/run/RunState.h"
#include "core/AppUtil.h"
#include "core/DialogSeam.h"
#include "skin/ImageUtil.h"
#include "skin/SelectableGrid.h"
#include "skin/SkinPanel.h"
#include "ui/SecurityOptionsPane.h"
#include "ui/FileListButtons.h"
#include "ui/OutputFolderPanel.h"
#include "ui/FileListPanel.h"
#include "ui/RunStatusLine.h"
#include "ui/SourcePasswordDialog.h"
#include "ui/StartPanel.h"
#include "ui/TitleBar.h"
#include "ui/WindowIds.h"
#include "ui/AppMenuStrip.h"
#include "update/UpdateResultEvent.h"
#include "update/UpdateResultView.h"

#include <wx/accel.h>
#include <wx/icon.h>
#include <wx/translation.h>

wxIMPLEMENT_CLASS(MainWindow, ShapedFrame);

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
    // A check still running must not report to a window that is gone.
    DetachUpdateResultTarget();
}

wxBitmap* MainWindow::CutFace(const wxBitmap& face, int x, int y, int width, int height) const {
    if (!face.IsOk())
        return nullptr;
    return ImageUtil::CreateSubBitmap(face, x, y, width, height);
}

bool MainWindow::Create(wxWindowID id, const wxString& title) {
    SetBitmap(ImageUtil::CreateBitmap("image/screen1.png", wxBITMAP_TYPE_PNG));
    if (!ShapedFrame::Create(nullptr, id, title, wxDefaultPosition))
        return false;
    Bind(EVT_UPDATE_RESULT, &MainWindow::OnUpdateResult, this);
    Bind(wxEVT_CLOSE_WINDOW, &MainWindow::OnClose, this);
    AttachUpdateResultTarget(this);
    DialogSeam::SetPasswordDialog(&SourcePasswordDialog::Ask);

    const wxBitmap appImage =
        ImageUtil::GetBitmap("image/application/application.png", wxBITMAP_TYPE_PNG);
    if (appImage.IsOk()) {
        wxIcon icon;
        icon.CopyFromBitmap(appImage);
        SetIcon(icon);
    }

    const wxBitmap face = ImageUtil::GetBitmap("image/screen1.png", wxBITMAP_TYPE_PNG);
    // Laid out in logical pixels: a 2x face has twice the pixels, not twice the size.
    const int W = face.IsOk() ? face.GetLogicalSize().x : 735;
    const int H = face.IsOk() ? face.GetLogicalSize().y : 620;
    if (!face.IsOk())
        SetClientSize(W, H);

    auto* background = new SkinPanel(this, CutFace(face, 0, 0, W, H), ID_BACKGROUND, wxPoint(0, 0),
                                     wxSize(W, H), wxBORDER_NONE | wxTAB_TRAVERSAL);

    auto* titleBar = new TitleBar;
    titleBar->Create(background, CutFace(face, 0, 2, W, 28), ID_TITLE_BAR, wxPoint(0, 2),
                     wxSize(W, 28), wxBORDER_NONE);

    auto* menuBar = new AppMenuStrip;
    menuBar->Create(CutFace(face, 10, 29, W - 10, 19), background, ID_MENU_BAR, wxPoint(10, 29),
                    wxBORDER_NONE | wxTAB_TRAVERSAL);

    auto* toolBar = new FileListButtons;
    toolBar->Create(CutFace(face, W - 138, 55, 128, 172), background, ID_TOOL_BAR,
                    wxPoint(W - 138, 55), wxSize(128, 172), wxBORDER_NONE | wxTAB_TRAVERSAL);

    auto* list = new FileListPanel(ProbeFile, RunEncryptionJob);
    list->Create(CutFace(face, 15, 55, W - 153, 172), background, ID_FILE_LIST, wxPoint(15, 55),
                 wxSize(W - 153, 172), wxBORDER_SIMPLE | wxTAB_TRAVERSAL);
    list->SetStatusColumn(STATUS_COLUMN);
    list->AppendColumn("  ", 30, false);
    list->AppendColumn(_("File Name"), 200, true);
    list->AppendColumn(_("Size"), 100, true);
    list->AppendColumn(_("Total Pages"), 100, true);
    list->AppendColumn(_("Status"), W - 593, true);
    m_runEndNotifier.Watch(list);

    auto* pane = new SecurityOptionsPane;
    pane->Create(CutFace(face, 0, 250, W, 280), background, ID_OPTIONS_PANE, wxPoint(0, 250),
                 wxSize(W, 280), wxBORDER_NONE | wxTAB_TRAVERSAL);

    // Tab follows reading order: the list before the tool bar beside it.
    list->MoveBeforeInTabOrder(toolBar);
    list->AppendColumn("File Path", 0, false);
    list->AppendColumn("Password", 0, false);
    list->AppendColumn("Item", 0, false);

    auto* start = new StartPanel;
    start->Create(CutFace(face, 580, H - 65, 155, 53), background, ID_START_PANEL,
                  wxPoint(580, H - 65), wxSize(155, 53));

    auto* output = new OutputFolderPanel;
    output->SetLabelGap(6);
    output->SetFontSize(9);
    output->Create(CutFace(face, 10, H - 82, 570, 76), background, ID_OUTPUT_PANEL,
                   wxPoint(10, H - 82), wxSize(570, 76));
    // The output strip, on the left, comes before Start in reading order.
    output->MoveBeforeInTabOrder(start);
    // The run's status on the strip's caption row, ending where its buttons end.
    const wxRect statusRect(110, 4, 570 - 16 - 110, 18);
    wxBitmap statusPiece;
    if (output->GetBitmap() && output->GetBitmap()->IsOk())
        statusPiece = ImageUtil::GetSubBitmap(*output->GetBitmap(), statusRect.x, statusRect.y,
                                              statusRect.width, statusRect.height);
    new RunStatusLine(output, ID_RUN_STATUS, statusRect.GetPosition(), statusRect.GetSize(),
                      statusPiece);

    // Everything the worker reports goes through one relay; each window leaves it
    // when it is destroyed, so a late event never reaches a dead window.
    std::shared_ptr<JobEventSink> sink = JobEventSink::Create();
    m_sinkAttachment.Attach(sink, JobEventSink::TOP_WINDOW, this);
    list->AttachToSink(sink);
    output->AttachToSink(sink);
    pane->AttachToSink(sink);

    Bind(wxEVT_PZ_JOB_STARTED, &MainWindow::OnJobStarted, this);
    Bind(wxEVT_PZ_JOB_FINISHED, &MainWindow::OnJobFinished, this);
    Bind(wxEVT_PZ_OUTPUT_DIR_MISSING, &MainWindow::OnOutputDirMissing, this);
    InstallKeys();

    Fit();
    Centre(wxBOTH);
    // The keyboard starts where reading does: in the list.
    CallAfter([list] { list->GetGrid()->GetGridWindow()->SetFocus(); });
    if (!face.IsOk()) {
        // Without its pictures the window has invisible buttons; say why, once it
        // is on the screen.
        CallAfter([] {
            ShowInfoBox(wxString::Format(
                _("The program's theme (%s) is missing or damaged. Please reinstall the program."),
                AppUtil::GetThemePath()));
        });
    }
    return true;
}

void MainWindow::InstallKeys() {
    wxAcceleratorEntry keys[] = {
        wxAcceleratorEntry(wxACCEL_ALT, 'F', ID_MENU_FILE),
        wxAcceleratorEntry(wxACCEL_ALT, 'H', ID_MENU_HELP),
        wxAcceleratorEntry(wxACCEL_NORMAL, WXK_F10, ID_MENU_FILE),
        wxAcceleratorEntry(wxACCEL_CTRL, 'O', ID_MENU_ADD_FILES),
    };
    SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(keys), keys));
    Bind(wxEVT_MENU, &MainWindow::OnMenuKey, this, ID_MENU_FILE);
    Bind(wxEVT_MENU, &MainWindow::OnMenuKey, this, ID_MENU_HELP);
    Bind(wxEVT_MENU, &MainWindow::OnAddFilesKey, this, ID_MENU_ADD_FILES);
}

void MainWindow::OnMenuKey(wxCommandEvent& event) {
    // The menu's own loop must not run inside the key's handling.
    const int id = event.GetId();
    CallAfter([this, id] {
        if (auto* menuBar = wxDynamicCast(FindWindow(ID_MENU_BAR), AppMenuStrip))
            menuBar->TrackMenus(id);
    });
}

void MainWindow::OnAddFilesKey(wxCommandEvent&) {
    // The same command as File > Add File(s)..., and locked with it during a run.
    auto* menuBar = wxDynamicCast(FindWindow(ID_MENU_BAR), AppMenuStrip);
    if (!menuBar || !menuBar->AreCommandsEnabled())
        return;
    wxCommandEvent command(wxEVT_MENU, ID_MENU_ADD_FILES);
    command.SetEventObject(menuBar);
    menuBar->ProcessWindowEventLocally(command);
}

void MainWindow::OnJobStarted(wxCommandEvent&) {
    if (auto* list = wxDynamicCast(FindWindow(ID_FILE_LIST), FileListPanel))
        list->MarkBusy();
    if (auto* toolBar = wxDynamicCast(FindWindow(ID_TOOL_BAR), FileListButtons))
        toolBar->DisableAll();
    if (auto* menuBar = wxDynamicCast(FindWindow(ID_MENU_BAR), AppMenuStrip))
        menuBar->EnableCommands(false);
}

void MainWindow::OnJobFinished(wxCommandEvent&) {
    if (auto* start = wxDynamicCast(FindWindow(ID_START_PANEL), StartPanel))
        start->UpdateButtons();
    if (auto* list = wxDynamicCast(FindWindow(ID_FILE_LIST), FileListPanel))
        list->RefreshAfterRun();
    if (auto* toolBar = wxDynamicCast(FindWindow(ID_TOOL_BAR), FileListButtons))
        toolBar->EnableAll();
    if (auto* menuBar = wxDynamicCast(FindWindow(ID_MENU_BAR), AppMenuStrip))
        menuBar->EnableCommands(true);
    // The worker unlocked the options pane just before; whatever order the two
    // events came in, the pane is usable before the focus goes back into it.
    if (wxWindow* pane = FindWindow(ID_OPTIONS_PANE))
        pane->Enable();
    if (auto* status = dynamic_cast<RunStatusLine*>(FindWindow(ID_RUN_STATUS)))
        status->RunFinished();
    // The keys work at once, without a Tab to find the focus again.
    if (auto* start = wxDynamicCast(FindWindow(ID_START_PANEL), StartPanel))
        start->RestoreFocusAfterRun();
    m_runEndNotifier.RunFinished(this);
}

void MainWindow::OnUpdateResult(wxCommandEvent& event) {
    ShowUpdateResult(this, event.GetString());
}

void MainWindow::OnOutputDirMissing(wxCommandEvent&) {
    ShowInfoBox(_("Output directory doesn't exist."));
}

void MainWindow::OnClose(wxCloseEvent& event) {
    if (g_runState.load() == RUN_RUNNING && event.CanVeto()) {
        // A second close request while the question is up must not ask again.
        if (m_askingToClose) {
            event.Veto();
            return;
        }
        m_askingToClose = true;
        const bool confirmed = AskOkCancel(
            _("The file is converting, do you want to exit this program?"), nullptr, true);
        m_askingToClose = false;
        if (!confirmed) {
            event.Veto();
            return;
        }
    }
    // The worker aborts the engine through its progress callback and leaves no
    // partial file; the application waits a few seconds for it at exit.
    if (IsRunActive())
        g_stopRequested = true;
    Destroy();
}
