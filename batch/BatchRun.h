#pragma once
// One batch run, whoever started it: the window (one job, on its worker thread) and
// the command line (N jobs) both run their files through this loop. It logs every
// step, picks each output's name, asks the engine to encrypt and tells its observer
// what happened.

#include "batch/BatchItem.h"
#include "batch/BatchObserver.h"
#include "batch/EncryptOptions.h"
#include "batch/OutputPlanner.h"
#include "batch/RunSources.h"
#include "batch/StopToken.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class EncryptParams;
class EngineService;

class BatchRun {
public:
    struct Settings {
        wxString outputDir;
        RunOptions run; // for items without options of their own
        wxString extension = ".pdf";
        wxString suffix = "_encryption";
        OverwritePolicy overwrite = OverwritePolicy::Replace;
        bool preserveTime = false; // the output keeps the source's modification time
        int jobs = 1;              // files encrypted at once; 1 runs on the calling thread
        // Probe each file first and refuse what the list would refuse; the window
        // did that when the files were added.
        bool checkFirst = false;
        // Encrypted sources are opened with the run's source password, not refused.
        bool acceptEncrypted = false;
        // A file the run writes besides its outputs (the password report): no
        // output may replace it, whatever the overwrite policy. "" for none.
        wxString report;
    };

    BatchRun(const Settings& settings, BatchObserver& observer, const StopToken& stop);
    ~BatchRun();
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // Blocks until every item is done or the run was stopped.
    RunSummary Run(const std::vector<BatchItem>& items);

    // The engine asks before item's output replaces an existing file.
    bool MayReplace(const BatchItem& item, uint64_t device, uint64_t inode) const;

private:
    void Work(int slot, const std::vector<BatchItem>& items);
    // False when the run is to end (a stop, or the program closing).
    bool Process(EngineService* service, int slot, const BatchItem& item);
    // The engine on one file, its output picked (and picked again when rename finds
    // the name taken at the last moment).
    int32_t Encrypt(EngineService* service, const BatchItem& item, int slot, const wxString& source,
                    void* progress, ItemResult& result);
    void Finish(const BatchItem& item, int slot, const wxString& source, ItemResult& result);
    void Report(const BatchItem& item, int slot, const ItemResult& result);
    // Log detail naming the source when files of several workers interleave.
    wxString Detail(const wxString& source) const;

    const Settings m_settings;
    BatchObserver& m_observer;
    const StopToken& m_stop;
    wxString m_outputDir;
    RunSources m_sources;
    std::unique_ptr<OutputPlanner> m_planner;
    std::unique_ptr<EncryptParams> m_params; // the run's own, shared by its items
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_ending{false};
    std::mutex m_summaryMutex;
    RunSummary m_summary;
    size_t m_handled = 0;
};

// done * 100 / total clamped to 0..100, in 64 bits so byte counts cannot overflow;
// false when total <= 0.
bool ProgressPercent(int32_t done, int32_t total, int32_t& percent);
