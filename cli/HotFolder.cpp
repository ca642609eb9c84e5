#include "cli/HotFolder.h"

#include "cli/CliBatchRunner.h"
#include "cli/CliText.h"

#include <algorithm>
#include <cstdio>

namespace {

// How long the loop sleeps at most: a stop is seen within this.
constexpr int kTickMs = 100;

bool InFolder(const std::string& path, const std::string& folder) {
    const std::string below = folder == "/" ? folder : folder + "/";
    return path.compare(0, below.size(), below) == 0;
}

} // namespace

HotFolder::HotFolder(const CliSettings& settings, CliBatchRunner& runner)
    : m_settings(settings), m_runner(runner), m_watch(settings.recursive, settings.outputDir),
      m_tracker(settings.settle) {
    m_runner.KeepOutputs();
}

void HotFolder::Say(const std::string& sentence) const {
    std::fprintf(stderr, "pdfzerovovor-cli: %s\n", sentence.c_str());
    std::fflush(stderr);
}

bool HotFolder::Start() {
    std::vector<FolderWatch::Change> changes;
    for (const std::string& dir : m_settings.watch) {
        const std::string why = m_watch.Add(dir, changes);
        if (!why.empty()) {
            Say(why);
            return false;
        }
    }
    for (const std::string& problem : m_watch.TakeProblems())
        Say(problem);
    // What lies there already settles like a new arrival: it may be half-written.
    Apply(changes);
    if (!m_settings.quiet)
        for (const std::string& dir : m_settings.watch)
            Say(FormatBytes(_("watching %s (SIGTERM or Ctrl-C ends)"), Name(dir)));
    return true;
}

void HotFolder::Apply(const std::vector<FolderWatch::Change>& changes) {
    const auto now = SettleTracker::Clock::now();
    for (const FolderWatch::Change& change : changes) {
        switch (change.kind) {
        case FolderWatch::Change::Written:
        case FolderWatch::Change::MovedIn:
            m_tracker.Changed(change.file, change.kind == FolderWatch::Change::MovedIn, now);
            break;
        case FolderWatch::Change::Gone:
        case FolderWatch::Change::FolderGone: {
            const bool folder = change.kind == FolderWatch::Change::FolderGone;
            m_tracker.Gone(change.file.path, folder);
            m_runner.Forget(change.file.path, folder);
            break;
        }
        }
    }
}

void HotFolder::Read(int timeoutMs) {
    std::vector<FolderWatch::Change> changes;
    m_watch.Wait(timeoutMs, changes);
    Apply(changes);
    for (const std::string& problem : m_watch.TakeProblems())
        Say(problem);
}

int HotFolder::Run(const std::vector<CollectedFile>& files) {
    if (!m_runner.Open())
        return 2;
    const auto idle = [this] { Read(0); };
    if (!files.empty() || m_settings.table) {
        // A file of a watched folder named on the command line too is not taken twice.
        for (const CollectedFile& file : files)
            if (std::any_of(m_settings.watch.begin(), m_settings.watch.end(),
                            [&](const std::string& dir) { return InFolder(file.path, dir); }))
                m_tracker.Taken(file.path);
        m_runner.Batch(files, idle);
    }
    int status = 0;
    while (!CliBatchRunner::StopRequested()) {
        if (m_watch.Empty()) {
            Say(TrUtf8("no watched folder is left"));
            status = 1;
            break;
        }
        const auto now = SettleTracker::Clock::now();
        const auto next = m_tracker.NextCheck();
        int wait = kTickMs;
        if (next <= now)
            wait = 0;
        else if (next - now < std::chrono::milliseconds(kTickMs))
            wait = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count() + 1);
        Read(wait);
        const std::vector<CollectedFile> settled =
            m_tracker.TakeSettled(SettleTracker::Clock::now());
        if (!settled.empty() && !CliBatchRunner::StopRequested())
            m_runner.Batch(settled, idle);
    }
    if (!m_runner.Close() && status == 0)
        status = 1;
    return status;
}
