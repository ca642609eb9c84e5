#pragma once
// Tells the list panel how to draw one status cell: a state and, for the progress
// state, a percentage in the integer payload.

#include <wx/event.h>
#include <cstdint>

// States of a status cell.
enum CellRenderState : int32_t {
    CELL_PROCESSING = 0, // "Processing..."
    CELL_PROGRESS = 1,   // percentage in GetInt()
    CELL_STOP = 2,       // "Stop"
    CELL_FAIL = 3,       // "Fail"
    CELL_FINISHED = 4,   // "Finished"
    CELL_CLEARED = 5     // empty
};

class StatusCellEvent;
wxDECLARE_EVENT(wxEVT_PZ_STATUS_CELL, StatusCellEvent);

class StatusCellEvent : public wxCommandEvent {
public:
    explicit StatusCellEvent(wxEventType type = wxEVT_PZ_STATUS_CELL, int id = 0);
    StatusCellEvent(const StatusCellEvent& other);

    // Queued events are cloned; every member has to survive that.
    wxEvent* Clone() const override;

    int32_t GetRow() const { return m_row; }
    void SetRow(int32_t row) { m_row = row; }
    int32_t GetCol() const { return m_col; }
    void SetCol(int32_t col) { m_col = col; }
    int32_t GetState() const { return m_state; }
    void SetState(int32_t state) { m_state = state; }

private:
    int32_t m_row = 0;
    int32_t m_col = 0;
    int32_t m_state = 1;

    wxDECLARE_DYNAMIC_CLASS_NO_ASSIGN(StatusCellEvent);
};

typedef void (wxEvtHandler::*StatusCellEventFunction)(StatusCellEvent&);
#define StatusCellEventHandler(func) wxEVENT_HANDLER_CAST(StatusCellEventFunction, func)
#define EVT_PZ_STATUS_CELL(id, func)                                                               \
    wx__DECLARE_EVT1(wxEVT_PZ_STATUS_CELL, id, StatusCellEventHandler(func))
