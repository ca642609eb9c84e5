#pragma once
// A cell drawn as a progress bar (an outline a shade darker than its colour, filled
// percent of the width) with a text over it, and a longer detail for its tooltip.

#include <wx/grid.h>

class ProgressCellRenderer : public wxGridCellStringRenderer {
public:
    ProgressCellRenderer() = default;

    void SetPercent(int percent) { m_percent = percent; }
    void SetText(const wxString& text) { m_text = text; }
    void SetColour(const wxColour& colour) { m_colour = colour; }
    void SetDetail(const wxString& detail) { m_detail = detail; }
    int GetPercent() const { return m_percent; }
    const wxString& GetText() const { return m_text; }
    const wxColour& GetColour() const { return m_colour; }
    const wxString& GetDetail() const { return m_detail; }

    // Width of the bar in a cell width wide; 0 means no bar at all.
    static int BarWidth(int width, int percent);

    void Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect, int row, int col,
              bool isSelected) override;
    wxGridCellRenderer* Clone() const override;

private:
    int m_percent = 0;
    wxString m_text;
    wxColour m_colour;
    wxString m_detail;
};
