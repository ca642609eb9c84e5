#include "skin/LockedCellRenderer.h"

#include <wx/dc.h>

#include <algorithm>

namespace {
const int kInset = 3;
const int kMark = 16;
const int kGap = 4;
} // namespace

LockedCellRenderer::LockedCellRenderer(const wxBitmap& lock) : m_lock(lock) {}

int LockedCellRenderer::MarkWidth() {
    return kInset + kMark + kGap;
}

void LockedCellRenderer::Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect,
                              int row, int col, bool isSelected) {
    // The background under the picture; the text part is drawn by the string
    // renderer, background and all, beside it.
    wxGridCellRenderer::Draw(grid, attr, dc, rect, row, col, // NOLINT(bugprone-parent-virtual-call)
                             isSelected);
    const int top = rect.y + (rect.height - kMark) / 2;
    if (m_lock.IsOk()) {
        dc.DrawBitmap(m_lock, rect.x + kInset, top, true);
    } else {
        // Shackle over a body, in the theme's gold.
        const int x = rect.x + kInset;
        dc.SetPen(wxPen(wxColour(120, 132, 150), 2));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRoundedRectangle(x + 4, top + 1, 8, 10, 3);
        dc.SetPen(wxPen(wxColour(196, 128, 30)));
        dc.SetBrush(wxBrush(wxColour(242, 170, 60)));
        dc.DrawRoundedRectangle(x + 2, top + 7, 12, 9, 2);
    }
    wxRect text = rect;
    text.x += MarkWidth();
    text.width = std::max(0, text.width - MarkWidth());
    wxGridCellStringRenderer::Draw(grid, attr, dc, text, row, col, isSelected);
}

wxSize LockedCellRenderer::GetBestSize(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, int row,
                                       int col) {
    wxSize size = wxGridCellStringRenderer::GetBestSize(grid, attr, dc, row, col);
    size.x += MarkWidth();
    size.y = std::max(size.y, kMark + 2);
    return size;
}

wxGridCellRenderer* LockedCellRenderer::Clone() const {
    return new LockedCellRenderer(m_lock);
}
