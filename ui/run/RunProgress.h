#pragma once
// How far a whole run has come: counted by the window's observer on the worker
// thread, read by the window's timer on the GUI thread (the worker never touches
// a window). Also the estimate of the time left and the words for both.

#include "batch/BatchObserver.h"

#include <wx/string.h>

#include <chrono>
#include <mutex>

class RunProgress {
public:
    struct Snapshot {
        int total = 0;      // files the run is to encrypt (rows done earlier left out)
        int handled = 0;    // files with a result
        RunSummary results; // written, failed, refused, stopped so far
        int percent = 0;    // of the file in hand
        bool ended = false;
        bool missingFolder = false; // the run ended before it began
        double seconds = 0;         // since the start; the whole run once ended
    };

    // GUI thread, before the worker starts.
    explicit RunProgress(int total);

    // Worker thread.
    void ItemStarted();
    void ItemProgress(int percent);
    void ItemResult(ItemStatus status);
    void Ended(bool missingFolder = false);

    Snapshot Get() const;

private:
    mutable std::mutex m_mutex;
    Snapshot m_state;
    std::chrono::steady_clock::time_point m_start;
};

// The time left, smoothed so the figure counts down steadily instead of jumping
// with every file: blended a little towards each new projection.
class RemainingTime {
public:
    // Seconds left, or -1 while there is too little to go on (fewer than three
    // files done and less than three seconds gone).
    double Update(const RunProgress::Snapshot& now);

private:
    double m_estimate = -1;
    double m_lastSeconds = 0;
};

// "3 of 10 files", then ", about 2 min left" once secondsLeft >= 0.
wxString DescribeRunProgress(const RunProgress::Snapshot& now, double secondsLeft);
// "Done in 1 min 5 s: 9 written, 0 refused, 1 failed", or what a stop left undone.
wxString DescribeRunEnd(const RunProgress::Snapshot& end);
// "40 s", "3 min", "1 h 5 min": rounded as a person would say it.
wxString DescribeDuration(double seconds, bool roughly);
