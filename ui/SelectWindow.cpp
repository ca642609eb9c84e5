#include "ui/SelectWindow.h"

#include "ui/run/JobEvents.h"
#include "skin/XyGrid.h"
#include "skin/ZqGridCellRenderer.h"
#include "ui/DnDFile.h"
#include "ui/WindowIds.h"

wxIMPLEMENT_DYNAMIC_CLASS(SelectWindow, ZqPieceWindow);

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
} // namespace

SelectWindow::SelectWindow() = default;
SelectWindow::~SelectWindow() = default;

bool SelectWindow::Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                          const wxSize& size, long style) {
    if (!ZqPieceWindow::Create(parent, background, id, pos, size, style, "SelectWindow"))
        return false;
    m_statusColumn = 0;
    m_busy = false;
    m_resultsShown = false;

    const wxSize client = GetClientSize();
    m_grid = new XyGrid(this, ID_FILE_GRID, wxPoint(0, 0), wxSize(client.x - 1, client.y),
                        wxWANTS_CHARS);
    // Thumb dragging leaves stale cells on some themes; repaint the whole grid.
    m_grid->Bind(wxEVT_SCROLLWIN_THUMBTRACK, &SelectWindow::OnGridScroll, this);
    m_grid->Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &SelectWindow::OnGridScroll, this);

    SetDropTarget(new DnDFile(this, m_grid));
    m_grid->SetDropTarget(new DnDFile(m_grid, nullptr));

    m_grid->CreateGrid(0, 0);
    m_grid->SetColLabelSize(20);
    m_grid->SetRowLabelSize(20);
    m_grid->SetLabelFont(m_grid->GetDefaultCellFont());
    m_grid->SetSelectionMode(wxGrid::wxGridSelectRows);
    m_grid->HideCellEditControl();
    m_grid->SetLabelBackgroundColour(kListGrey);
    m_grid->EnableEditing(true);
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
        part->Bind(wxEVT_SET_FOCUS, &SelectWindow::OnGridFocus, this);
        part->Bind(wxEVT_KILL_FOCUS, &SelectWindow::OnGridFocus, this);
    }

    Bind(wxEVT_PZ_ROW_STARTED, &SelectWindow::OnRowStarted, this);
    Bind(wxEVT_PZ_CELL_RENDER, &SelectWindow::OnRowStatus, this);
    return true;
}

void SelectWindow::AttachToSink(const std::shared_ptr<JobEventSink>& sink) {
    m_sinkAttachment.Attach(sink, JobEventSink::FILE_LIST, this);
}

void SelectWindow::AddFiles(const wxString&) {}

void SelectWindow::AddFileList(const wxArrayString&) {}

int SelectWindow::GetRowCount() const {
    return 0;
}

int SelectWindow::GetSelectedRows(wxArrayInt& rows) const {
    rows.clear();
    return 0;
}

wxString SelectWindow::GetCellText(int, int) const {
    return wxString();
}

int SelectWindow::GetProcessCount() const {
    return 0;
}

void SelectWindow::RefreshAfterRun() {
    if (m_grid)
        m_grid->ForceRefresh();
    m_busy = false;
}

wxString SelectWindow::GetStatusDetail(int row) const {
    if (!m_grid || row < 0 || row >= m_grid->GetNumberRows())
        return wxString();
    auto* renderer =
        dynamic_cast<ZqGridCellRenderer*>(m_grid->PeekCellRenderer(row, m_statusColumn));
    return renderer ? renderer->GetDetail() : wxString();
}

void SelectWindow::ApplyCellState(int row, int column, int state, int percent,
                                  const wxString& detail) {
    if (!m_grid || row < 0 || row >= m_grid->GetNumberRows() || column < 0 ||
        column >= m_grid->GetNumberCols())
        return;
    auto* renderer = dynamic_cast<ZqGridCellRenderer*>(m_grid->PeekCellRenderer(row, column));
    wxString text;
    switch (state) {
    case CELL_PROCESSING:
        text = "Processing...";
        if (renderer) {
            renderer->SetColour(kProcessingColour);
            renderer->SetPercent(0);
        }
        break;
    case CELL_PROGRESS:
        text = wxString::Format("%d%%", percent);
        if (renderer) {
            renderer->SetColour(kProgressColour);
            renderer->SetPercent(percent);
        }
        break;
    case CELL_STOP:
        text = "Stop";
        if (renderer) {
            renderer->SetColour(kStopColour);
            renderer->SetPercent(100);
        }
        break;
    case CELL_FAIL:
        text = "Fail";
        // An orange bar would read as "still working"; a failed file is marked red.
        if (renderer) {
            renderer->SetColour(kFailColour);
            renderer->SetPercent(100);
        }
        break;
    case CELL_FINISHED:
        text = "Finished";
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

void SelectWindow::OnRowStarted(wxCommandEvent& event) {
    const int row = event.GetInt();
    if (!m_grid || row < 0 || row >= m_grid->GetNumberRows())
        return;
    m_grid->SetCellValue(row, m_statusColumn, " ");
    ApplyCellState(row, m_statusColumn, CELL_PROCESSING, 0);
}

void SelectWindow::OnRowStatus(DhGridCellRenderCommandEvent& event) {
    // A failure carries its reason in the event's text, in the command line's words.
    ApplyCellState(event.GetRow(), event.GetCol(), event.GetState(), event.GetInt(),
                   event.GetString());
}

void SelectWindow::OnGridFocus(wxFocusEvent& event) {
    event.Skip();
    // The focus may only be moving between the grid's own parts: look once it
    // has settled.
    CallAfter([this] { ShowFocusLook(); });
}

void SelectWindow::ShowFocusLook() {
    const wxWindow* focus = FindFocus();
    const bool inList = focus && (focus == m_grid || focus->GetParent() == m_grid);
    const wxColour header = inList ? kFocusedHeader : kListGrey;
    if (m_grid->GetLabelBackgroundColour() != header)
        m_grid->SetLabelBackgroundColour(header);
}

void SelectWindow::OnGridScroll(wxScrollWinEvent& event) {
    m_grid->ForceRefresh();
    event.Skip();
}
