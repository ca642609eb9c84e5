#include "ui/RunStatusLine.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

namespace {
const wxColour kRunningText(96, 104, 118);
const wxColour kSummaryText(30, 96, 170);
const int kTickMs = 100;
} // namespace

RunStatusLine::RunStatusLine(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size, const wxBitmap& piece)
    : m_piece(piece), m_timer(this) {
    // Background and text are painted together: no flicker at ten updates a second.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxControl::Create(parent, id, pos, size, wxBORDER_NONE);
    Bind(wxEVT_PAINT, &RunStatusLine::OnPaint, this);
    Bind(wxEVT_TIMER, &RunStatusLine::OnTimer, this);
}

RunStatusLine::~RunStatusLine() {
    m_timer.Stop();
}

void RunStatusLine::Watch(std::shared_ptr<RunProgress> progress) {
    m_progress = std::move(progress);
    m_remaining = RemainingTime();
    if (!m_progress)
        return;
    ShowProgress(m_progress->Get());
    m_timer.Start(kTickMs);
}

void RunStatusLine::RunFinished() {
    m_timer.Stop();
    if (!m_progress)
        return;
    RunProgress::Snapshot end = m_progress->Get();
    m_progress.reset();
    // A worker that could not start ends without a word from the run.
    if (!end.ended || end.missingFolder)
        SetText(wxString(), false);
    else
        ShowProgress(end);
}

void RunStatusLine::ShowProgress(const RunProgress::Snapshot& now) {
    if (now.ended) {
        if (!now.missingFolder)
            SetText(DescribeRunEnd(now), true);
        return;
    }
    SetText(DescribeRunProgress(now, m_remaining.Update(now)), false);
}

void RunStatusLine::SetText(const wxString& text, bool summary) {
    if (text == m_text && summary == m_summary)
        return;
    m_text = text;
    m_summary = summary;
    SetToolTip(text);
    Refresh(false);
}

void RunStatusLine::OnTimer(wxTimerEvent&) {
    if (m_progress)
        ShowProgress(m_progress->Get());
}

void RunStatusLine::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxRect area(GetClientSize());
    if (m_piece.IsOk()) {
        dc.DrawBitmap(m_piece, 0, 0, false);
    } else {
        dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
        dc.Clear();
    }
    if (m_text.empty())
        return;
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    if (m_summary)
        font.MakeBold();
    dc.SetFont(font);
    dc.SetTextForeground(m_summary ? kSummaryText : kRunningText);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    // Right-aligned under the strip's right end, as far in as its buttons end.
    const wxString shown = wxControl::Ellipsize(m_text, dc, wxELLIPSIZE_END, area.width);
    dc.DrawLabel(shown, area, wxALIGN_RIGHT | wxALIGN_CENTRE_VERTICAL);
}
