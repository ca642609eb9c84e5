#include "skin/SelectableGrid.h"

wxIMPLEMENT_CLASS(SelectableGrid, wxGrid);

wxBEGIN_EVENT_TABLE(SelectableGrid, wxGrid)
    EVT_GRID_CELL_LEFT_CLICK(SelectableGrid::OnCellLeftClick)
wxEND_EVENT_TABLE()

SelectableGrid::SelectableGrid(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                               const wxSize& size, long style, const wxString& name) {
    if (Create(parent, id, pos, size, style, name))
        GetGridWindow()->Bind(wxEVT_LEFT_DOWN, &SelectableGrid::OnGridWindowLeftDown, this);
}

wxArrayInt SelectableGrid::GetAllSelectedRows() const {
    wxArrayInt rows = GetSelectedRows();
    wxGridCellCoordsArray topLeft = GetSelectionBlockTopLeft();
    wxGridCellCoordsArray bottomRight = GetSelectionBlockBottomRight();
    if (topLeft.empty() || bottomRight.empty())
        return rows;
    size_t blocks = std::min(topLeft.size(), bottomRight.size());
    const int lastCol = GetNumberCols() - 1;
    for (size_t i = 0; i < blocks; ++i) {
        // This toolkit reports whole selected rows among the blocks as well; they
        // are already in the list above and must not be counted twice.
        if (topLeft[i].GetCol() <= 0 && bottomRight[i].GetCol() >= lastCol)
            continue;
        for (int row = topLeft[i].GetRow(); row <= bottomRight[i].GetRow(); ++row)
            rows.Add(row);
    }
    return rows;
}

wxGridCellRenderer* SelectableGrid::PeekCellRenderer(int row, int col) const {
    wxGridCellRenderer* renderer = GetCellRenderer(row, col);
    // GetCellRenderer hands out a reference of its own; give it back so the
    // caller can use the pointer as long as the cell keeps the renderer.
    if (renderer && renderer->GetRefCount() > 1)
        renderer->DecRef();
    return renderer;
}

void SelectableGrid::RefreshCell(int row, int col) {
    wxRect rect = CellToRect(row, col);
    if (rect.IsEmpty())
        return;
    CalcScrolledPosition(rect.x, rect.y, &rect.x, &rect.y);
    GetGridWindow()->RefreshRect(rect, true);
}

void SelectableGrid::OnCellLeftClick(wxGridEvent& event) {
    if (!event.ControlDown()) {
        event.Skip();
        return;
    }
    int row = event.GetRow();
    if (IsInSelection(row, 0)) {
        DeselectRow(row);
        Refresh(true);
    } else {
        SelectRow(row, true);
    }
}

void SelectableGrid::OnGridWindowLeftDown(wxMouseEvent& event) {
    int x = 0;
    int y = 0;
    CalcUnscrolledPosition(event.GetX(), event.GetY(), &x, &y);
    if (YToRow(y) == wxNOT_FOUND)
        ClearSelection();
    event.Skip();
}
