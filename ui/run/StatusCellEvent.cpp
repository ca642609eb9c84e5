#include "ui/run/StatusCellEvent.h"

wxDEFINE_EVENT(wxEVT_PZ_STATUS_CELL, StatusCellEvent);

wxIMPLEMENT_DYNAMIC_CLASS(StatusCellEvent, wxCommandEvent);

StatusCellEvent::StatusCellEvent(wxEventType type, int id) : wxCommandEvent(type, id) {}

StatusCellEvent::StatusCellEvent(const StatusCellEvent& other)
    : wxCommandEvent(other), m_row(other.m_row), m_col(other.m_col), m_state(other.m_state) {}

wxEvent* StatusCellEvent::Clone() const {
    return new StatusCellEvent(*this);
}
