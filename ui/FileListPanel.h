#pragma once
// The file list: a grid of PDF rows with name, size, pages and a status column
// that shows what the run reports for each row; the list commands, the checks
// before a run and the start of the run.

#include "batch/FileRow.h"
#include "batch/SecretText.h"
#include "skin/SkinPanel.h"
#include "ui/SinkAttachment.h"
#include "ui/run/StatusCellEvent.h"
#include "ui/run/RunLauncher.h"

#include <wx/dynarray.h>

#include <cstdint>
#include <vector>

class SelectableGrid;
class wxKeyEvent;
class wxMenu;
class wxMouseEvent;
class wxScrollWinEvent;

class FileListPanel : public SkinPanel {
public:
    // Turns a path into the row the list shows (or refuses).
    typedef FileRow (*RowSource)(const wxString& path);

    // rows: how an added file is probed; job: what the worker runs on a run's input.
    FileListPanel(RowSource rows, JobRunner job);

    // background: the panel's piece of the face image; the panel owns it.
    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                const wxSize& size, long style);

    // Appends one grid column; shown columns get label and width, hidden ones width 0.
    wxString AppendColumn(const wxString& label, int width, bool shown);

    // Adds files to the list; a path may hold any character, "\\" and "|" included.
    void AddFileList(const wxArrayString& paths);
    int GetRowCount() const;
    // Selected rows in ascending order; returns their number.
    int GetSelectedRows(wxArrayInt& rows) const;
    wxString GetCellText(int row, int column) const;

    // A run begins / has ended: the busy list refuses its context menu.
    void MarkBusy() { m_busy = true; }
    void RefreshAfterRun();
    bool IsBusy() const { return m_busy; }
    void SetStatusColumn(int column) { m_statusColumn = column; }

    // Receives the run's row events from now on.
    void AttachToSink(const std::shared_ptr<JobEventSink>& sink);

    SelectableGrid* GetGrid() const { return m_grid; }

    // Sets the status cell of row to state (percentage for the progress state);
    // states outside 0 to 5 change nothing. detail: why a file failed, shown as
    // the cell's tooltip.
    void ApplyCellState(int row, int column, int state, int percent,
                        const wxString& detail = wxString());
    // The status cell's detail; empty when it has none.
    wxString GetStatusDetail(int row) const;

    // 1 when the row was written by an earlier run (the next run skips it).
    int GetDoneFlag(int row) const;
    // True when the row is an encrypted file whose password was given when it was
    // added: a run opens it with that password and protects it anew.
    bool IsProtected(int row) const;

    // The list commands; each shows its own refusal.
    void AddThroughDialog();
    void DeleteSelected();
    void ClearAll();
    void MoveUp();
    void MoveDown();
    void SelectAll();
    void InvertSelection();
    void ClearStatuses();
    void StartAll();
    void EncryptSelected();

    // The right-click menu's entries; moving needs exactly one selected row.
    void FillContextMenu(wxMenu& menu) const;
    // What a cell's tooltip says: the full path on the name, the reason on a
    // failed status; empty elsewhere.
    wxString GetCellTip(int row, int column) const;

private:
    // secret: the password that opens an encrypted file, null for a plain one.
    void AddRow(const FileRow& row, std::shared_ptr<const SecretText> secret = nullptr);
    // The lock before a protected row's name.
    void ShowProtection(int row);
    void ShowNewRows();
    // Row labels as wide as the largest number needs; the status column gives up
    // (or takes back) the difference so the columns still fill the list.
    void FitRowLabels();
    void MoveSelected(bool up);
    void SwapRows(int first, int second);
    // False when no run may start now (one is active, or no output folder is set).
    bool MayPrepareRun();
    bool StartRun(int count);
    void ShowContextMenu();

    void OnRowStarted(wxCommandEvent& event);
    void OnRowStatus(StatusCellEvent& event);
    void OnGridScroll(wxScrollWinEvent& event);
    // The list's focus mark: its header takes the accent tint while the keyboard
    // is in the list.
    void OnGridFocus(wxFocusEvent& event);
    void ShowFocusLook();

    void OnCommand(wxCommandEvent& event);
    void OnStartRequest(wxCommandEvent& event);
    void OnRowDone(wxCommandEvent& event);
    void OnResultsShown(wxCommandEvent& event);
    void OnGridKeyDown(wxKeyEvent& event);
    void OnGridRightUp(wxMouseEvent& event);
    void OnGridMotion(wxMouseEvent& event);

    SelectableGrid* m_grid = nullptr;
    bool m_busy = false;
    bool m_resultsShown = false;
    int m_statusColumn = 0;
    SinkAttachment m_sinkAttachment;

    wxArrayString m_columnLabels;
    const RowSource m_rowSource;
    const JobRunner m_job;
    std::vector<int32_t> m_doneFlags;
    // Beside the done flags: each row's source password, in memory only; wiped when
    // the row leaves the list.
    std::vector<std::shared_ptr<const SecretText>> m_sourcePasswords;
    wxBitmap m_lockPicture;
    wxArrayInt m_runRows;
    int m_statusWidth = 0; // as the frame asked for it, with 20-pixel row labels

    wxDECLARE_CLASS(FileListPanel);
};
