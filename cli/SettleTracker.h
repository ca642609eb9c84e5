#pragma once
// When a file of a watched folder is taken. A writer may take many seconds over a
// large file, so a file is taken once it has stayed unchanged (no event, and the
// same size, modification and change time) for the settle time after its last
// change, never after a fixed delay from its first event. A file moved in is
// complete as a rule and settles sooner. A file that does not end as a PDF ends
// ("%%EOF" in its last kilobyte) is most likely still being written and waits
// longer. A file is taken again only when its content changed since it was taken
// (a new size, modification time or inode; not a mere change of its mode).

#include "cli/FileCollector.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class SettleTracker {
public:
    using Clock = std::chrono::steady_clock;

    // A file moved in settles in at most this long.
    static constexpr std::chrono::milliseconds kMovedIn{500};
    // A file that does not end as a PDF waits at least this long after its last change.
    static constexpr std::chrono::seconds kUnfinished{30};

    explicit SettleTracker(double settleSeconds);

    // The file arrived or changed (movedIn: renamed into the folder).
    void Changed(const CollectedFile& file, bool movedIn, Clock::time_point now);
    // The file went away, or every file below the folder.
    void Gone(const std::string& path, bool folder);
    // The file was taken as it is now, by the run before the watch started.
    void Taken(const std::string& path);

    // The files that settled by now, in path order; each counts as taken as it is.
    std::vector<CollectedFile> TakeSettled(Clock::time_point now);
    // When TakeSettled may next have something; Clock::time_point::max() when no
    // file is waiting.
    Clock::time_point NextCheck() const;

private:
    struct Look {
        uint64_t device = 0, inode = 0;
        int64_t size = -1, modified = 0, changed = 0; // times in nanoseconds
        bool regular = false;
        bool operator==(const Look& other) const;
        // Same file, same content as far as size and modification time tell.
        bool SameContent(const Look& other) const;
    };
    struct Waiting {
        CollectedFile file;
        Look look;                 // at its last change
        Clock::time_point changed; // its last change
        Clock::time_point due;     // when to look again
    };

    static bool LookAt(const std::string& path, Look& look);
    // "%%EOF" in the last kilobyte, where every reader looks for it.
    static bool EndsAsPdf(const std::string& path, int64_t size);

    Clock::duration m_settle;
    std::map<std::string, Waiting> m_waiting;
    std::map<std::string, Look> m_taken;
};
