#pragma once
// The run-wide status on the output strip: "n of N files" and the time left while
// a run goes on, what it wrote, refused and failed and how long it took once it is
// over. A 100 ms timer reads the run's counts; the worker never touches it.

#include "ui/run/RunProgress.h"

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/timer.h>

#include <memory>

class RunStatusLine : public wxControl {
public:
    // piece: the parent's picture under the line.
    RunStatusLine(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                  const wxBitmap& piece);
    ~RunStatusLine() override;

    // A run starts: follow its counts.
    void Watch(std::shared_ptr<RunProgress> progress);
    // The run has ended (the window has its job-finished event): the summary, or
    // nothing when the run never began.
    void RunFinished();

    const wxString& GetText() const { return m_text; }

    // Text, not a stop for the keyboard.
    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override { return GetSize(); }

private:
    void ShowProgress(const RunProgress::Snapshot& now);
    void SetText(const wxString& text, bool summary);
    void OnTimer(wxTimerEvent& event);
    void OnPaint(wxPaintEvent& event);

    wxBitmap m_piece;
    wxString m_text;
    bool m_summary = false;
    wxTimer m_timer;
    std::shared_ptr<RunProgress> m_progress;
    RemainingTime m_remaining;
};
