#pragma once
// A cell drawn as a progress bar (black outline, filled percent of the width) with
// a text over it.

#include <wx/grid.h>

class ZqGridCellRenderer : public wxGridCellStringRenderer {
public:
    ZqGridCellRenderer() = default;

    void SetPercent(int percent) { m_percent = percent; }
    void SetText(const wxString& text) { m_text = text; }
    void SetColour(const wxColour& colour) { m_colour = colour; }
    int GetPercent() const { return m_percent; }
    const wxString& GetText() const { return m_text; }
    const wxColour& GetColour() const { return m_colour; }

    // Width of the bar in a cell width wide; 0 means no bar at all.
    static int BarWidth(int width, int percent);

    void Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect, int row, int col,
              bool isSelected) override;
    wxGridCellRenderer* Clone() const override;

private:
    int m_percent = 0;
    wxString m_text;
    wxColour m_colour;
};
