#pragma once
// The product's file list: PDF rows with name, size, pages and status, the list
// commands, the checks before a run and the start of the run.

#include "batch/FileRow.h"
#include "ui/run/RunLauncher.h"
#include "ui/SelectWindow.h"

#include <cstdint>
#include <vector>

class wxGridEvent;
class wxKeyEvent;
class wxMenu;
class wxMouseEvent;

class SelectWindowPDFENCRYPTION : public SelectWindow {
public:
    // Turns a path into the row the list shows (or refuses).
    typedef FileRow (*RowSource)(const wxString& path);

    // rows: how an added file is probed; job: what the worker runs on a run's input.
    SelectWindowPDFENCRYPTION(RowSource rows, JobRunner job);

    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                const wxSize& size, long style) override;

    // Appends one grid column; shown columns get label and width, hidden ones width 0.
    wxString AppendColumn(const wxString& label, int width, bool shown);

    void AddFiles(const wxString& paths) override;
    void AddFileList(const wxArrayString& paths) override;
    int GetRowCount() const override;
    int GetSelectedRows(wxArrayInt& rows) const override;
    wxString GetCellText(int row, int column) const override;
    int GetProcessCount() const override { return m_processCount; }

    // 1 when the row was written by an earlier run (the next run skips it).
    int GetDoneFlag(int row) const;

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
    void AddRow(const FileRow& row);
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

    void OnCommand(wxCommandEvent& event);
    void OnStartRequest(wxCommandEvent& event);
    void OnRowDone(wxCommandEvent& event);
    void OnResultsShown(wxCommandEvent& event);
    void OnCellChanged(wxGridEvent& event);
    void OnGridKeyDown(wxKeyEvent& event);
    void OnGridRightUp(wxMouseEvent& event);
    void OnGridMotion(wxMouseEvent& event);

    wxArrayString m_columnLabels;
    const RowSource m_rowSource;
    const JobRunner m_job;
    std::vector<int32_t> m_doneFlags;
    wxArrayInt m_runRows;
    int m_processCount = -1;
    int m_statusWidth = 0; // as the frame asked for it, with 20-pixel row labels

    wxDECLARE_CLASS(SelectWindowPDFENCRYPTION);
};
