#include "ui/FileListPanel.h"

#include "ui/FileChooser.h"
#include "batch/FileTypes.h"
#include "ui/run/JobEvents.h"
#include "ui/run/JobInput.h"
#include "batch/ResultTexts.h"
#include "ui/run/RunLauncher.h"
#include "ui/run/RunState.h"
#include "batch/StartChecks.h"
#include "core/DialogSeam.h"
#include "core/DomainConfig.h"
#include "core/FileUtil.h"
#include "core/StringUtil.h"
#include "skin/SelectableGrid.h"
#include "skin/ImageUtil.h"
#include "skin/LockedCellRenderer.h"
#include "skin/ProgressCellRenderer.h"
#include "ui/FileDropTarget.h"
#include "ui/SecurityOptionsPane.h"
#include "ui/SourcePasswordAsker.h"
#include "ui/OutputFolderPanel.h"
#include "ui/RunStatusLine.h"
#include "ui/StartPanel.h"
#include "ui/WindowIds.h"
#include "ui/WindowLookup.h"

#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/stopwatch.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include <algorithm>
#include <memory>

wxIMPLEMENT_CLASS(FileListPanel, SkinPanel);

namespace {
const wxColour kListGrey(232, 232, 232);
const wxColour kFocusedHeader(206, 224, 246);
const wxColour kSelectionColour(198, 222, 247);
const wxColour kProcessingColour(255, 255, 255);
const wxColour kProgressColour(252, 156, 0);
// The three endings share one style: the whole cell in their colour.
const wxColour kFinishedColour(122, 196, 120);
const wxColour kFailColour(232, 112, 104);
const wxColour kStopColour(246, 196, 92);

// Columns of a row.
enum Column {
    COL_SPACER = 0,
    COL_NAME = 1,
    COL_SIZE = 2,
    COL_PAGES = 3,
    COL_STATUS = STATUS_COLUMN,
    COL_PATH = 5,
    COL_PASSWORD = 6,
    COL_ITEM = 7,
};
} // namespace

FileListPanel::FileListPanel(RowSource rows, JobRunner job) : m_rowSource(rows), m_job(job) {}

bool FileListPanel::Create(wxBitmap* background, wxWindow* parent, wxWindowID id,
                           const wxPoint& pos, const wxSize& size, long style) {
    if (!SkinPanel::Create(parent, background, id, pos, size, style, "FileListPanel"))
        return false;
    m_statusColumn = 0;
    m_busy = false;
    m_resultsShown = false;

    const wxSize client = GetClientSize();
    m_grid = new SelectableGrid(this, ID_FILE_GRID, wxPoint(0, 0), wxSize(client.x - 1, client.y),
                                wxWANTS_CHARS);
    // Thumb dragging leaves stale cells on some themes; repaint the whole grid.
    m_grid->Bind(wxEVT_SCROLLWIN_THUMBTRACK, &FileListPanel::OnGridScroll, this);
    m_grid->Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &FileListPanel::OnGridScroll, this);

    SetDropTarget(new FileDropTarget(this, m_grid));
    m_grid->SetDropTarget(new FileDropTarget(m_grid, nullptr));

    m_grid->CreateGrid(0, 0);
    m_grid->SetColLabelSize(20);
    m_grid->SetRowLabelSize(20);
    m_grid->SetLabelFont(m_grid->GetDefaultCellFont());
    m_grid->SetSelectionMode(wxGrid::wxGridSelectRows);
    m_grid->HideCellEditControl();
    m_grid->SetLabelBackgroundColour(kListGrey);
    // The list only shows its files: no cell is edited, hidden ones included (a new
    // list's cursor sits in the hidden first column).
    m_grid->EnableEditing(false);
    // The grid frames its current cell only while it has the keyboard focus: the
    // list's focus mark, in the skin's accent colour.
    m_grid->SetCellHighlightPenWidth(1);
    m_grid->SetCellHighlightROPenWidth(1);
    m_grid->SetCellHighlightColour(wxColour(30, 96, 170));
    m_grid->SetGridLineColour(kListGrey);
    // The desktop's highlight is grey on some themes when the list lacks the focus;
    // the face's own blue keeps the selection readable on every theme.
    m_grid->SetSelectionBackground(kSelectionColour);
    m_grid->SetSelectionForeground(*wxBLACK);
    m_grid->DisableDragRowSize();
    m_grid->DisableDragColSize();
    m_grid->Show();

    for (wxWindow* part : {static_cast<wxWindow*>(m_grid), m_grid->GetGridWindow()}) {
        part->Bind(wxEVT_SET_FOCUS, &FileListPanel::OnGridFocus, this);
        part->Bind(wxEVT_KILL_FOCUS, &FileListPanel::OnGridFocus, this);
    }

    Bind(wxEVT_PZ_ROW_STARTED, &FileListPanel::OnRowStarted, this);
    Bind(wxEVT_PZ_STATUS_CELL, &FileListPanel::OnRowStatus, this);
    Bind(wxEVT_MENU, &FileListPanel::OnCommand, this, CMD_ADD_FILES, CMD_CLEAR_STATUSES);
    Bind(wxEVT_PZ_START_REQUEST, &FileListPanel::OnStartRequest, this);
    Bind(wxEVT_PZ_ROW_DONE, &FileListPanel::OnRowDone, this);
    Bind(wxEVT_PZ_RESULTS_SHOWN, &FileListPanel::OnResultsShown, this);

    // The grid's cell window hands its keys on to the grid: one handler sees both.
    m_grid->Bind(wxEVT_KEY_DOWN, &FileListPanel::OnGridKeyDown, this);
    m_grid->GetGridWindow()->Bind(wxEVT_RIGHT_UP, &FileListPanel::OnGridRightUp, this);
    m_grid->GetGridWindow()->Bind(wxEVT_MOTION, &FileListPanel::OnGridMotion, this);
    // The focus belongs in the cells, where the grid shows it, not on the grid's
    // frame around them.
    m_grid->SetCanFocus(false);
    m_lockPicture = ImageUtil::GetBitmap("image/base/lock.png");

    return true;
}

void FileListPanel::AttachToSink(const std::shared_ptr<JobEventSink>& sink) {
    m_sinkAttachment.Attach(sink, JobEventSink::FILE_LIST, this);
}

wxString FileListPanel::AppendColumn(const wxString& label, int width, bool shown) {
    m_columnLabels.Add(label);
    m_grid->AppendCols(1);
    const int column = m_grid->GetNumberCols() - 1;
    if (shown) {
        m_grid->ShowCol(column);
        m_grid->SetColLabelValue(column, label);
        m_grid->SetColSize(column, width);
        m_grid->SetColLabelAlignment(wxALIGN_LEFT, wxALIGN_CENTRE);
        if (column == m_statusColumn)
            m_statusWidth = width;
    } else {
        m_grid->SetColLabelValue(column, wxEmptyString);
        m_grid->HideCol(column);
    }
    return label;
}

int FileListPanel::GetRowCount() const {
    return m_grid ? m_grid->GetNumberRows() : 0;
}

int FileListPanel::GetSelectedRows(wxArrayInt& rows) const {
    rows.clear();
    if (!m_grid)
        return 0;
    wxArrayInt all = m_grid->GetAllSelectedRows();
    std::vector<int> sorted(all.begin(), all.end());
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (int row : sorted)
        if (row >= 0 && row < m_grid->GetNumberRows())
            rows.Add(row);
    return static_cast<int>(rows.size());
}

wxString FileListPanel::GetCellText(int row, int column) const {
    if (!m_grid || row < 0 || row >= m_grid->GetNumberRows() || column < 0 ||
        column >= m_grid->GetNumberCols())
        return wxString();
    return m_grid->GetCellValue(row, column);
}

int FileListPanel::GetDoneFlag(int row) const {
    if (row < 0 || row >= static_cast<int>(m_doneFlags.size()))
        return 0;
    return m_doneFlags[row];
}

bool FileListPanel::IsProtected(int row) const {
    return row >= 0 && row < static_cast<int>(m_sourcePasswords.size()) &&
           m_sourcePasswords[row] != nullptr;
}

void FileListPanel::ShowProtection(int row) {
    if (IsProtected(row))
        m_grid->SetCellRenderer(row, COL_NAME, new LockedCellRenderer(m_lockPicture));
    else
        m_grid->SetCellRenderer(row, COL_NAME, nullptr);
}

void FileListPanel::AddRow(const FileRow& row, std::shared_ptr<const SecretText> secret) {
    m_grid->AppendRows(1);
    const int r = m_grid->GetNumberRows() - 1;
    m_doneFlags.push_back(0);
    m_sourcePasswords.push_back(std::move(secret));

    const std::pair<int, size_t> shownTexts[] = {
        {COL_NAME, FILEROW_NAME}, {COL_SIZE, FILEROW_SIZE}, {COL_PAGES, FILEROW_PAGES}};
    for (const auto& [column, field] : shownTexts) {
        m_grid->SetCellValue(r, column, row[field]);
        m_grid->SetCellAlignment(r, column, wxALIGN_LEFT, wxALIGN_CENTRE);
        m_grid->SetReadOnly(r, column);
    }
    // Long names keep their start and their end; the tooltip shows the whole path.
    m_grid->SetCellFitMode(r, COL_NAME, wxGridFitMode::Ellipsize(wxELLIPSIZE_MIDDLE));
    m_grid->SetCellAlignment(r, m_statusColumn, wxALIGN_LEFT, wxALIGN_CENTRE);
    m_grid->SetCellRenderer(r, m_statusColumn, new ProgressCellRenderer);
    m_grid->SetReadOnly(r, m_statusColumn);
    m_grid->SetCellValue(r, COL_PATH, row[FILEROW_PATH]);
    m_grid->SetCellValue(r, COL_PASSWORD, wxEmptyString);
    m_grid->SetCellValue(r, COL_ITEM, row[FILEROW_OPEN_CODE]);
    ShowProtection(r);
}

void FileListPanel::AddFileList(const wxArrayString& paths) {
    // Each file is opened and checked here; a large batch or a big file takes a
    // moment, which the pointer should say.
    wxBusyCursor busy;
    // Repaint what the closed file dialog covered, then show new rows as they come,
    // at a pace the eye can follow rather than once per file.
    if (wxWindow* top = wxGetTopLevelParent(this))
        top->Update();
    wxStopWatch sinceShown;
    bool unshown = false;
    // Skip All holds for the rest of this addition.
    SourcePasswordAsker passwords(this);
    auto refuse = [this, &unshown](const wxString& message) {
        if (unshown)
            ShowNewRows();
        unshown = false;
        wxBusyCursorSuspender normalPointer;
        ShowInfoBox(message, this);
    };
    for (const wxString& path : paths) {
        if (path.empty())
            continue;
        if (g_config)
            g_config->SetLastConvertDir(StringUtil::BeforeLast(path, '/'));
        if (FileUtil::GetFileLength(path) == 0) {
            refuse(wxString::Format(_(" It's not a valid file,file size is %dKB.  \n"), 0) + path);
            continue;
        }
        FileRow row = m_rowSource(path);
        if (row.size() < FILEROW_FIELD_COUNT)
            continue;
        std::shared_ptr<const SecretText> secret;
        if (row[FILEROW_OPEN_CODE] == "4") {
            // The rows so far on show before the question covers the list.
            if (unshown)
                ShowNewRows();
            unshown = false;
            int32_t pages = 0;
            const SourcePasswordAsker::Outcome outcome =
                passwords.Ask(path, row[FILEROW_NAME], secret, pages);
            if (outcome == SourcePasswordAsker::Outcome::Skipped)
                continue;
            if (outcome == SourcePasswordAsker::Outcome::Unreadable) {
                refuse(OpenStateRefusal("5", row[FILEROW_NAME]));
                continue;
            }
            row[FILEROW_PAGES] = pages > 0 ? wxString::Format("%d", pages) : wxString();
        } else {
            const wxString refusal = OpenStateRefusal(row[FILEROW_OPEN_CODE], row[FILEROW_NAME]);
            if (!refusal.empty()) {
                refuse(refusal);
                continue;
            }
        }
        AddRow(row, std::move(secret));
        unshown = true;
        if (sinceShown.Time() >= 100) {
            ShowNewRows();
            unshown = false;
            sinceShown.Start();
        }
    }
    if (unshown)
        ShowNewRows();
}

void FileListPanel::ShowNewRows() {
    FitRowLabels();
    m_grid->ForceRefresh();
    Update();
}

void FileListPanel::FitRowLabels() {
    const int kMinimum = 20;
    int width = 0;
    const wxFont font = m_grid->GetLabelFont();
    m_grid->GetTextExtent(wxString::Format("%d", GetRowCount()), &width, nullptr, nullptr, nullptr,
                          &font);
    const int labels = std::max(kMinimum, width + 10);
    if (labels == m_grid->GetRowLabelSize())
        return;
    m_grid->SetRowLabelSize(labels);
    if (m_statusWidth > 0)
        m_grid->SetColSize(m_statusColumn, std::max(60, m_statusWidth - (labels - kMinimum)));
}

void FileListPanel::AddThroughDialog() {
    const wxArrayString chosen = ChooseFiles(g_config ? g_config->GetLastConvertDir() : wxString());
    if (!chosen.empty())
        AddFileList(chosen);
}

void FileListPanel::DeleteSelected() {
    if (IsRunActive())
        return;
    if (GetRowCount() == 0) {
        ShowInfoBox(_("Delete failed! No file!"), this);
        return;
    }
    wxArrayInt selected;
    if (GetSelectedRows(selected) == 0) {
        ShowInfoBox(_("Delete failed! No selected file!"), this);
        return;
    }
    if (!AskOkCancel(_("Are you sure you want to remove the selected items from the list?"), this))
        return;
    m_grid->BeginBatch();
    // From the bottom up, so the indices still to come stay valid.
    for (size_t i = selected.size(); i-- > 0;) {
        const int row = selected[i];
        m_grid->DeleteRows(row, 1);
        m_doneFlags.erase(m_doneFlags.begin() + row);
        m_sourcePasswords.erase(m_sourcePasswords.begin() + row);
    }
    m_grid->ClearSelection();
    FitRowLabels();
    m_grid->EndBatch();
}

void FileListPanel::ClearAll() {
    // A run reports by row index: the list must keep its rows until it ends.
    if (IsRunActive())
        return;
    if (GetRowCount() == 0) {
        ShowInfoBox(_("Clear failed! No file!"), this);
        return;
    }
    if (!AskOkCancel(_("Are you sure you want to clear all the items from the list?"), this))
        return;
    m_grid->DeleteRows(0, m_grid->GetNumberRows());
    m_doneFlags.clear();
    m_sourcePasswords.clear();
    FitRowLabels();
}

void FileListPanel::MoveUp() {
    MoveSelected(true);
}

void FileListPanel::MoveDown() {
    MoveSelected(false);
}

void FileListPanel::MoveSelected(bool up) {
    if (IsRunActive())
        return;
    if (GetRowCount() == 0) {
        ShowInfoBox(_("Move failed! No file!"), this);
        return;
    }
    wxArrayInt selected;
    const int count = GetSelectedRows(selected);
    if (count == 0) {
        ShowInfoBox(_("Move failed! No selected file!"), this);
        return;
    }
    if (count > 1) {
        ShowInfoBox(up ? _("Move up failed! Please select one file!")
                       : _("Move down failed! Please select one file!"),
                    this);
        return;
    }
    const int row = selected[0];
    const int target = up ? row - 1 : row + 1;
    if (target < 0 || target >= GetRowCount())
        return;
    SwapRows(row, target);
    m_grid->ClearSelection();
    m_grid->SelectRow(target);
    m_grid->MakeCellVisible(target, COL_NAME);
}

void FileListPanel::SwapRows(int first, int second) {
    for (int column = 0; column < m_grid->GetNumberCols(); ++column) {
        const wxString text = m_grid->GetCellValue(first, column);
        m_grid->SetCellValue(first, column, m_grid->GetCellValue(second, column));
        m_grid->SetCellValue(second, column, text);
    }
    auto* a = dynamic_cast<ProgressCellRenderer*>(m_grid->PeekCellRenderer(first, m_statusColumn));
    auto* b = dynamic_cast<ProgressCellRenderer*>(m_grid->PeekCellRenderer(second, m_statusColumn));
    if (a && b) {
        const int percent = a->GetPercent();
        const wxString text = a->GetText();
        const wxColour colour = a->GetColour();
        const wxString detail = a->GetDetail();
        a->SetPercent(b->GetPercent());
        a->SetText(b->GetText());
        a->SetColour(b->GetColour());
        a->SetDetail(b->GetDetail());
        b->SetPercent(percent);
        b->SetText(text);
        b->SetColour(colour);
        b->SetDetail(detail);
    }
    std::swap(m_doneFlags[first], m_doneFlags[second]);
    std::swap(m_sourcePasswords[first], m_sourcePasswords[second]);
    ShowProtection(first);
    ShowProtection(second);
    m_grid->ForceRefresh();
}

void FileListPanel::SelectAll() {
    if (GetRowCount() > 0)
        m_grid->SelectAll();
}

void FileListPanel::InvertSelection() {
    wxArrayInt selected;
    if (GetSelectedRows(selected) == 0) {
        SelectAll();
    } else {
        std::vector<bool> wasSelected(GetRowCount(), false);
        for (int row : selected)
            wasSelected[row] = true;
        m_grid->ClearSelection();
        for (int row = 0; row < GetRowCount(); ++row)
            if (!wasSelected[row])
                m_grid->SelectRow(row, true);
    }
    Refresh();
}

void FileListPanel::ClearStatuses() {
    if (!m_resultsShown)
        return;
    std::fill(m_doneFlags.begin(), m_doneFlags.end(), 0);
    for (int row = 0; row < GetRowCount(); ++row)
        ApplyCellState(row, m_statusColumn, CELL_CLEARED, 0);
    m_resultsShown = false;
}

bool FileListPanel::MayPrepareRun() {
    // The start button is hidden during a run; this guards against a request that
    // was already queued when the run began.
    if (IsRunActive())
        return false;
    if (!g_config || g_config->GetLastOutputDir().empty()) {
        ShowInfoBox(_("Output folder is empty."), this);
        return false;
    }
    m_runRows.clear();
    return true;
}

void FileListPanel::StartAll() {
    if (!MayPrepareRun())
        return;
    if (GetRowCount() == 0) {
        ShowInfoBox(_("The list is empty. Please add the PDF files to encrypt first (Add, "
                      "Ctrl+O, or drop them on the list)."),
                    this);
        return;
    }
    for (int row = 0; row < GetRowCount(); ++row)
        m_runRows.Add(row);
    StartRun(static_cast<int>(m_runRows.size()));
}

void FileListPanel::EncryptSelected() {
    if (!MayPrepareRun())
        return;
    GetSelectedRows(m_runRows);
    StartRun(static_cast<int>(m_runRows.size()));
}

bool FileListPanel::StartRun(int count) {
    if (count == 0)
        return false;
    if (std::all_of(m_runRows.begin(), m_runRows.end(),
                    [this](int row) { return GetDoneFlag(row) == 1; })) {
        ShowInfoBox(_("Every file is already encrypted; there is nothing left to encrypt. Change "
                      "a setting to encrypt them all again."),
                    this);
        return false;
    }
    auto* pane =
        wxDynamicCast(WindowLookup::FindInTopWindow(this, ID_OPTIONS_PANE), SecurityOptionsPane);
    const RunOptions run = pane ? pane->GetRunOptions() : RunOptions();
    const wxString refusal = CheckPasswords(run);
    if (!refusal.empty()) {
        ShowInfoBox(refusal, this);
        return false;
    }

    // The worker gets its own copy of everything it needs; it never reads the grid.
    auto input = std::make_unique<JobInput>();
    for (int row : m_runRows) {
        JobRow jobRow;
        jobRow.index = row;
        jobRow.path = GetCellText(row, COL_PATH);
        // The output is named from the file's own name, not from the list's
        // (escaped) display of it.
        jobRow.fileName = StringUtil::AfterLast(jobRow.path, '/');
        jobRow.done = GetDoneFlag(row) == 1;
        // An encrypted file is opened with its own password, the rest of the run's
        // settings unchanged: the command line's source password, per file.
        if (IsProtected(row)) {
            auto own = std::make_shared<RunOptions>(run);
            // Swapped in, not copied: no stray copy of the password is left.
            wxString password = wxString::FromUTF8(m_sourcePasswords[row]->utf8());
            own->sourcePassword.swap(password);
            jobRow.options = std::move(own);
        }
        input->rows.push_back(jobRow);
    }
    input->run = run;
    auto* output =
        wxDynamicCast(WindowLookup::FindInTopWindow(this, ID_OUTPUT_PANEL), OutputFolderPanel);
    input->outputDir = output ? output->GetOutputDir() : g_config->GetLastOutputDir();
    input->statusColumn = m_statusColumn;
    input->sink = m_sinkAttachment.GetSink();
    const auto toDo = std::count_if(input->rows.begin(), input->rows.end(),
                                    [](const JobRow& row) { return !row.done; });
    input->progress = std::make_shared<RunProgress>(static_cast<int>(toDo));
    if (auto* status =
            dynamic_cast<RunStatusLine*>(WindowLookup::FindInTopWindow(this, ID_RUN_STATUS)))
        status->Watch(input->progress);

    const bool launched = LaunchRun(std::move(input), m_job);
    if (auto* start =
            wxDynamicCast(WindowLookup::FindInTopWindow(this, ID_START_PANEL), StartPanel))
        start->UpdateButtons();
    return launched;
}

void FileListPanel::FillContextMenu(wxMenu& menu) const {
    menu.Append(CMD_ADD_FILES, _("Add File"));
    menu.Append(CMD_DELETE_SELECTED, _("Delete"));
    menu.Append(CMD_CLEAR_ALL, _("Clear All"));
    // Moving rows has no other way in from the mouse.
    menu.AppendSeparator();
    menu.Append(CMD_MOVE_UP, _("Move Up"));
    menu.Append(CMD_MOVE_DOWN, _("Move Down"));
    wxArrayInt selected;
    const bool oneRow = GetSelectedRows(selected) == 1;
    menu.Enable(CMD_MOVE_UP, oneRow);
    menu.Enable(CMD_MOVE_DOWN, oneRow);
    menu.AppendSeparator();
    menu.Append(CMD_ENCRYPT_SELECTED, _("Encrypt Selected"));
}

void FileListPanel::ShowContextMenu() {
    if (m_busy)
        return;
    wxMenu menu;
    FillContextMenu(menu);
    PopupMenu(&menu);
}

wxString FileListPanel::GetCellTip(int row, int column) const {
    if (row < 0 || row >= GetRowCount())
        return wxString();
    if (column == COL_NAME && IsProtected(row))
        return GetCellText(row, COL_PATH) + "\n" +
               _("Protected: opened with the password given when it was added, then "
                 "encrypted with the settings below.");
    if (column == COL_NAME)
        return GetCellText(row, COL_PATH);
    if (column == m_statusColumn)
        return GetStatusDetail(row);
    return wxString();
}

void FileListPanel::OnCommand(wxCommandEvent& event) {
    switch (event.GetId()) {
    case CMD_ADD_FILES:
        AddThroughDialog();
        break;
    case CMD_CLEAR_ALL:
        ClearAll();
        break;
    case CMD_DELETE_SELECTED:
        DeleteSelected();
        break;
    case CMD_MOVE_UP:
        MoveUp();
        break;
    case CMD_MOVE_DOWN:
        MoveDown();
        break;
    case CMD_ENCRYPT_SELECTED:
        EncryptSelected();
        break;
    case CMD_CLEAR_STATUSES:
        ClearStatuses();
        break;
    default:
        event.Skip();
        break;
    }
}

void FileListPanel::OnStartRequest(wxCommandEvent&) {
    StartAll();
}

void FileListPanel::OnRowDone(wxCommandEvent& event) {
    const int row = event.GetInt();
    if (row >= 0 && row < static_cast<int>(m_doneFlags.size()))
        m_doneFlags[row] = 1;
}

void FileListPanel::OnResultsShown(wxCommandEvent&) {
    m_resultsShown = true;
}

void FileListPanel::OnGridKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == 'A' && event.ControlDown()) {
        SelectAll();
        return;
    }
    if (event.GetKeyCode() == WXK_DELETE) {
        DeleteSelected();
        return;
    }
    if ((event.GetKeyCode() == WXK_UP || event.GetKeyCode() == WXK_DOWN) &&
        !event.HasAnyModifiers() && GetRowCount() > 0) {
        // The arrows move the one selected row, as in a file list.
        wxArrayInt selected;
        GetSelectedRows(selected);
        int row = selected.empty()
                      ? -1
                      : selected[event.GetKeyCode() == WXK_UP ? 0 : selected.size() - 1];
        row += event.GetKeyCode() == WXK_UP ? -1 : 1;
        row = std::max(0, std::min(row, GetRowCount() - 1));
        m_grid->ClearSelection();
        m_grid->SelectRow(row);
        m_grid->SetGridCursor(row, COL_NAME);
        m_grid->MakeCellVisible(row, COL_NAME);
        return;
    }
    if (event.GetKeyCode() == WXK_TAB && !event.ControlDown() && !event.AltDown()) {
        // The grid would walk its cells first, hidden ones included; Tab leaves the
        // list at once, as from any other control. The toolkit's focus chain passes
        // through the grid's inner windows first: step until the focus is out.
        auto inGrid = [this] {
            wxWindow* focus = FindFocus();
            return focus && (focus == m_grid || focus->GetParent() == m_grid);
        };
        const int direction =
            event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward;
        for (int step = 0; step < 4 && inGrid(); ++step)
            m_grid->Navigate(direction);
        return;
    }
    event.Skip();
}

void FileListPanel::OnGridRightUp(wxMouseEvent&) {
    ShowContextMenu();
}

void FileListPanel::OnGridMotion(wxMouseEvent& event) {
    event.Skip();
    const wxPoint at = m_grid->CalcUnscrolledPosition(event.GetPosition());
    const wxString tip = GetCellTip(m_grid->YToRow(at.y), m_grid->XToCol(at.x));
    wxWindow* cells = m_grid->GetGridWindow();
    if (tip == cells->GetToolTipText())
        return;
    if (tip.empty())
        cells->UnsetToolTip();
    else
        cells->SetToolTip(tip);
}

void FileListPanel::RefreshAfterRun() {
    if (m_grid)
        m_grid->ForceRefresh();
    m_busy = false;
}

wxString FileListPanel::GetStatusDetail(int row) const {
    if (!m_grid || row < 0 || row >= m_grid->GetNumberRows())
        return wxString();
    auto* renderer =
        dynamic_cast<ProgressCellRenderer*>(m_grid->PeekCellRenderer(row, m_statusColumn));
    return renderer ? renderer->GetDetail() : wxString();
}

void FileListPanel::ApplyCellState(int row, int column, int state, int percent,
                                   const wxString& detail) {
    if (!m_grid || row < 0 || row >= m_grid->GetNumberRows() || column < 0 ||
        column >= m_grid->GetNumberCols())
        return;
    auto* renderer = dynamic_cast<ProgressCellRenderer*>(m_grid->PeekCellRenderer(row, column));
    wxString text;
    switch (state) {
    case CELL_PROCESSING:
        text = _("Processing...");
        if (renderer) {
            renderer->SetColour(kProcessingColour);
            renderer->SetPercent(0);
        }
        break;
    case CELL_PROGRESS:
        // TRANSLATORS: a file's progress in the status column, as in "42%".
        text = wxString::Format(_("%d%%"), percent);
        if (renderer) {
            renderer->SetColour(kProgressColour);
            renderer->SetPercent(percent);
        }
        break;
    case CELL_STOP:
        text = _("Stop");
        if (renderer) {
            renderer->SetColour(kStopColour);
            renderer->SetPercent(100);
        }
        break;
    case CELL_FAIL:
        text = _("Fail");
        // An orange bar would read as "still working"; a failed file is marked red.
        if (renderer) {
            renderer->SetColour(kFailColour);
            renderer->SetPercent(100);
        }
        break;
    case CELL_FINISHED:
        text = _("Finished");
        if (renderer) {
            renderer->SetColour(kFinishedColour);
            renderer->SetPercent(100);
        }
        break;
    case CELL_CLEARED:
        // An emptied cell must not keep the bar of the last run.
        if (renderer)
            renderer->SetPercent(0);
        break;
    default:
        return;
    }
    if (renderer) {
        renderer->SetText(text);
        // Only a failure explains itself; every other state clears the last reason.
        renderer->SetDetail(state == CELL_FAIL ? detail : wxString());
    }
    m_grid->SetCellValue(row, column, text);
    m_grid->RefreshCell(row, column);
}

void FileListPanel::OnRowStarted(wxCommandEvent& event) {
    const int row = event.GetInt();
    if (!m_grid || row < 0 || row >= m_grid->GetNumberRows())
        return;
    m_grid->SetCellValue(row, m_statusColumn, " ");
    ApplyCellState(row, m_statusColumn, CELL_PROCESSING, 0);
}

void FileListPanel::OnRowStatus(StatusCellEvent& event) {
    // A failure carries its reason in the event's text, in the command line's words.
    ApplyCellState(event.GetRow(), event.GetCol(), event.GetState(), event.GetInt(),
                   event.GetString());
}

void FileListPanel::OnGridFocus(wxFocusEvent& event) {
    event.Skip();
    // The focus may only be moving between the grid's own parts: look once it
    // has settled.
    CallAfter([this] { ShowFocusLook(); });
}

void FileListPanel::ShowFocusLook() {
    const wxWindow* focus = FindFocus();
    const bool inList = focus && (focus == m_grid || focus->GetParent() == m_grid);
    const wxColour header = inList ? kFocusedHeader : kListGrey;
    if (m_grid->GetLabelBackgroundColour() != header)
        m_grid->SetLabelBackgroundColour(header);
}

void FileListPanel::OnGridScroll(wxScrollWinEvent& event) {
    m_grid->ForceRefresh();
    event.Skip();
}
