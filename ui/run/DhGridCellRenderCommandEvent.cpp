#include "ui/run/DhGridCellRenderCommandEvent.h"

wxDEFINE_EVENT(wxEVT_PZ_CELL_RENDER, DhGridCellRenderCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(DhGridCellRenderCommandEvent, wxCommandEvent);

DhGridCellRenderCommandEvent::DhGridCellRenderCommandEvent(wxEventType type, int id)
    : wxCommandEvent(type, id) {}

DhGridCellRenderCommandEvent::DhGridCellRenderCommandEvent(
    const DhGridCellRenderCommandEvent& other)
    : wxCommandEvent(other), m_row(other.m_row), m_col(other.m_col), m_state(other.m_state) {}

wxEvent* DhGridCellRenderCommandEvent::Clone() const {
    return new DhGridCellRenderCommandEvent(*this);
}
