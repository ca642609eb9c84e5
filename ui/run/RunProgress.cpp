#include "ui/run/RunProgress.h"

#include <wx/intl.h>

#include <algorithm>
#include <cmath>

RunProgress::RunProgress(int total) : m_start(std::chrono::steady_clock::now()) {
    m_state.total = std::max(0, total);
}

void RunProgress::ItemStarted() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.percent = 0;
}

void RunProgress::ItemProgress(int percent) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.percent = std::max(0, std::min(100, percent));
}

void RunProgress::ItemResult(ItemStatus status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_state.handled;
    m_state.percent = 0;
    m_state.results.Count(status);
}

void RunProgress::Ended(bool missingFolder) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state.ended)
        return;
    m_state.ended = true;
    m_state.missingFolder = missingFolder;
    m_state.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

RunProgress::Snapshot RunProgress::Get() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    Snapshot now = m_state;
    if (!now.ended)
        now.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    return now;
}

double RemainingTime::Update(const RunProgress::Snapshot& now) {
    const double done =
        now.total > 0 ? (now.handled + now.percent / 100.0) / static_cast<double>(now.total) : 0;
    const double elapsed = now.seconds;
    // Too early: the first file says little about the rest.
    if (done <= 0 || done >= 1 || (now.handled < 3 && elapsed < 3)) {
        m_lastSeconds = elapsed;
        return done >= 1 ? 0 : m_estimate;
    }
    const double projected = elapsed * (1 - done) / done;
    if (m_estimate < 0) {
        m_estimate = projected;
    } else {
        // The old figure counts down with the clock, then moves a tenth of the way
        // towards what the pace so far says: about a second to follow a change.
        const double counted = std::max(0.0, m_estimate - (elapsed - m_lastSeconds));
        m_estimate = counted + 0.1 * (projected - counted);
    }
    m_lastSeconds = elapsed;
    return m_estimate;
}

wxString DescribeDuration(double seconds, bool roughly) {
    const long whole = std::max(0L, std::lround(seconds));
    if (whole < 60) {
        // A countdown in steps of five seconds reads calmer than one per second.
        const long shown = roughly ? std::max(5L, (whole + 4) / 5 * 5) : whole;
        if (shown >= 60)
            return wxString::Format(_("%ld min"), 1L);
        return wxString::Format(_("%ld s"), shown);
    }
    // Rounded up to the hour, "60 min" reads as "1 h 0 min".
    if (whole < (roughly ? 3570 : 3600)) {
        const long minutes = roughly ? (whole + 30) / 60 : whole / 60;
        const long rest = whole % 60;
        if (roughly || rest == 0)
            return wxString::Format(_("%ld min"), minutes);
        return wxString::Format(_("%ld min %ld s"), minutes, rest);
    }
    const long minutes = (whole + (roughly ? 30 : 0)) / 60;
    return wxString::Format(_("%ld h %ld min"), minutes / 60, minutes % 60);
}

wxString DescribeRunProgress(const RunProgress::Snapshot& now, double secondsLeft) {
    const int current = std::min(now.total, now.handled + 1);
    wxString text = wxString::Format(wxPLURAL("%d of %d file", "%d of %d files", now.total),
                                     current, now.total);
    if (secondsLeft >= 0)
        text += wxString(", ") +
                wxString::Format(_("about %s left"), DescribeDuration(secondsLeft, true));
    return text;
}

wxString DescribeRunEnd(const RunProgress::Snapshot& end) {
    const wxString took = DescribeDuration(end.seconds, false);
    const RunSummary& r = end.results;
    const int notDone = end.total - end.handled + r.stopped;
    if (notDone > 0)
        return wxString::Format(_("Stopped after %s: %d written, %d refused, %d failed, %d not "
                                  "encrypted"),
                                took, r.written, r.refused, r.failed, notDone);
    return wxString::Format(_("Done in %s: %d written, %d refused, %d failed"), took, r.written,
                            r.refused, r.failed);
}
