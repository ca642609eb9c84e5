#pragma once
// A grid with list-like row selection: Ctrl+click toggles a row, a press below the
// last row clears the selection.

#include <wx/grid.h>

class SelectableGrid : public wxGrid {
public:
    SelectableGrid(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize, long style = wxWANTS_CHARS,
                   const wxString& name = wxGridNameStr);

    // Selected rows followed by the rows of every selection block; unsorted, a row
    // may appear twice.
    wxArrayInt GetAllSelectedRows() const;
    // The cell's renderer without an extra reference: do not DecRef it.
    wxGridCellRenderer* PeekCellRenderer(int row, int col) const;
    // Repaints one cell.
    void RefreshCell(int row, int col);

protected:
    void OnCellLeftClick(wxGridEvent& event);
    void OnGridWindowLeftDown(wxMouseEvent& event);

private:
    wxDECLARE_CLASS(SelectableGrid);
    wxDECLARE_EVENT_TABLE();
};
