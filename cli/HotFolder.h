#pragma once
// --watch: the files of the command line first, then every PDF that settles in a
// watched folder, each group of files that settle together as a batch of its own,
// until a stop (SIGTERM, Ctrl-C) lets the file in hand end cleanly. New events are
// read while a batch runs, so a file that changes meanwhile is seen.

#include "cli/CliSettings.h"
#include "cli/FileCollector.h"
#include "cli/FolderWatch.h"
#include "cli/SettleTracker.h"

#include <string>
#include <vector>

class CliBatchRunner;

class HotFolder {
public:
    HotFolder(const CliSettings& settings, CliBatchRunner& runner);

    // Watches the folders; false (and says why on standard error) when one cannot be.
    bool Start();
    // Runs until a stop: the exit status (0 after a stop; 1 when every watched folder
    // went away or the report could not be written in full; 2 when it cannot be created).
    int Run(const std::vector<CollectedFile>& files);

private:
    // Reads the events of up to timeoutMs into the tracker.
    void Read(int timeoutMs);
    void Apply(const std::vector<FolderWatch::Change>& changes);
    void Say(const std::string& sentence) const;

    const CliSettings& m_settings;
    CliBatchRunner& m_runner;
    FolderWatch m_watch;
    SettleTracker m_tracker;
};
