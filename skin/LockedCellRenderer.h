#pragma once
// A text cell with a lock picture before its text: the row stands for something
// protected. The text keeps the cell's own alignment and fitting after the picture.

#include <wx/bitmap.h>
#include <wx/grid.h>

class LockedCellRenderer : public wxGridCellStringRenderer {
public:
    // lock: the picture, loaded once by the caller (shared, not copied); without
    // one a plain padlock is drawn.
    explicit LockedCellRenderer(const wxBitmap& lock);

    void Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect, int row, int col,
              bool isSelected) override;
    wxSize GetBestSize(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, int row, int col) override;
    wxGridCellRenderer* Clone() const override;

    // Pixels the picture and its gap take before the text.
    static int MarkWidth();

private:
    wxBitmap m_lock;
};
