#pragma once
// The general file list panel: a grid of files whose status column shows what the
// run reports for each row.

#include "ui/run/DhGridCellRenderCommandEvent.h"
#include "skin/ZqPieceWindow.h"
#include "ui/SinkAttachment.h"

#include <wx/dynarray.h>

class XyGrid;
class wxScrollWinEvent;

class SelectWindow : public ZqPieceWindow {
public:
    SelectWindow();
    ~SelectWindow() override;

    // background: the panel's piece of the face image; the panel owns it.
    virtual bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                        const wxSize& size, long style);

    // Paths joined by "|". Does nothing here.
    virtual void AddFiles(const wxString& paths);
    // The same for a list of paths, which may hold any character, "|" included.
    virtual void AddFileList(const wxArrayString& paths);
    virtual int GetRowCount() const;
    // Selected rows in ascending order; returns their number.
    virtual int GetSelectedRows(wxArrayInt& rows) const;
    virtual wxString GetCellText(int row, int column) const;
    virtual int GetProcessCount() const;

    // A run begins / has ended: the busy list refuses its context menu.
    void MarkBusy() { m_busy = true; }
    void RefreshAfterRun();
    bool IsBusy() const { return m_busy; }
    void SetHasResults(bool shown) { m_resultsShown = shown; }
    bool HasResults() const { return m_resultsShown; }
    void SetStatusColumn(int column) { m_statusColumn = column; }
    int GetStatusColumn() const { return m_statusColumn; }

    // Receives the run's row events from now on.
    void AttachToSink(const std::shared_ptr<JobEventSink>& sink);

    XyGrid* GetGrid() const { return m_grid; }

    // Sets the status cell of row to state (percentage for the progress state);
    // states outside 0 to 5 change nothing. detail: why a file failed, shown as
    // the cell's tooltip.
    void ApplyCellState(int row, int column, int state, int percent,
                        const wxString& detail = wxString());
    // The status cell's detail; empty when it has none.
    wxString GetStatusDetail(int row) const;

protected:
    const std::shared_ptr<JobEventSink>& GetSink() const { return m_sinkAttachment.GetSink(); }
    virtual void OnRowStarted(wxCommandEvent& event);
    virtual void OnRowStatus(DhGridCellRenderCommandEvent& event);

    XyGrid* m_grid = nullptr;
    bool m_busy = false;
    bool m_resultsShown = false;
    int m_statusColumn = 0;

private:
    void OnGridScroll(wxScrollWinEvent& event);
    // The list's focus mark: its header takes the accent tint while the keyboard
    // is in the list.
    void OnGridFocus(wxFocusEvent& event);
    void ShowFocusLook();

    SinkAttachment m_sinkAttachment;

    wxDECLARE_DYNAMIC_CLASS(SelectWindow);
};
