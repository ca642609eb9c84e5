#include "skin/ProgressCellRenderer.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include <cstdint>

int ProgressCellRenderer::BarWidth(int width, int percent) {
    if (percent == 0)
        return 0;
    return static_cast<int>(static_cast<int32_t>(width) * percent / 100);
}

void ProgressCellRenderer::Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect,
                                int row, int col, bool isSelected) {
    // Only the cell's background (the string renderer's own Draw would add the
    // text): the text is drawn once, below, over the bar.
    wxGridCellRenderer::Draw(grid, attr, dc, rect, row, col, // NOLINT(bugprone-parent-virtual-call)
                             isSelected);
    dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    const wxColour fill = m_colour.IsOk() ? m_colour : *wxWHITE;
    dc.SetPen(wxPen(fill.ChangeLightness(70)));
    dc.SetBrush(wxBrush(fill, wxBRUSHSTYLE_SOLID));
    int barWidth = BarWidth(rect.width, m_percent);
    if (barWidth > 0)
        dc.DrawRectangle(rect.x, rect.y, barWidth, rect.height);
    dc.SetTextForeground(*wxBLACK);
    // The grid may leave an opaque text background set; the bar must show through.
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    // Centred in the row's height and kept off the bar's outline, so the status
    // reads like the neighbouring cells' text.
    wxRect textRect = rect;
    textRect.Deflate(3, 0);
    dc.DrawLabel(m_text, textRect, wxALIGN_LEFT | wxALIGN_CENTRE_VERTICAL, -1);
}

wxGridCellRenderer* ProgressCellRenderer::Clone() const {
    ProgressCellRenderer* copy = new ProgressCellRenderer;
    copy->m_percent = m_percent;
    copy->m_text = m_text;
    copy->m_colour = m_colour;
    copy->m_detail = m_detail;
    return copy;
}
