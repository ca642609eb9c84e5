#pragma once
// One batch run, whoever started it: the window (one job, on its worker thread) and
// the command line (N jobs) both run their files through this loop. It logs every
// step, keeps the output names of the run apart, asks the engine to encrypt and
// tells its observer what happened.

#include "batch/BatchItem.h"
#include "batch/BatchObserver.h"
#include "batch/EncryptOptions.h"
#include "batch/OutputNameRegistry.h"
#include "batch/StopToken.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

class EncryptParams;
struct PdfMSService;

class BatchRun {
public:
    struct Settings {
        wxString outputDir; // "\" is read as "/"
        RunOptions run;
        wxString extension = ".pdf";
        int jobs = 1; // files encrypted at once; 1 runs on the calling thread
        // Probe each file first and refuse what the list would refuse; the window
        // did that when the files were added.
        bool checkFirst = false;
    };

    BatchRun(const Settings& settings, BatchObserver& observer, const StopToken& stop);
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // Blocks until every item is done or the run was stopped.
    RunSummary Run(const std::vector<BatchItem>& items);

private:
    void Work(int slot, const std::vector<BatchItem>& items, const EncryptParams& params);
    // False when the run is to end (a stop, or the program closing).
    bool Process(PdfMSService* service, int slot, const BatchItem& item,
                 const EncryptParams& params);
    void Report(const BatchItem& item, int slot, const ItemResult& result);
    // Runs the engine on one file; fills result's writer and a left temporary file.
    int32_t Encrypt(PdfMSService* service, const wxString& source, const wxString& output,
                    const EncryptParams& params, void* progress, ItemResult& result);
    bool IsRunSource(const wxString& path) const;

public:
    // True when the file with that identity is one of the run's sources; the
    // engine asks before an output replaces a file.
    bool IsRunSource(uint64_t device, uint64_t inode) const;

private:
    // Log detail naming the source when files of several workers interleave.
    wxString Detail(const wxString& source) const;

    const Settings m_settings;
    BatchObserver& m_observer;
    const StopToken& m_stop;
    wxString m_outputDir;
    OutputNameRegistry m_names;
    // Device and inode of every source: no output ever replaces one of them.
    std::set<std::pair<uint64_t, uint64_t>> m_sources;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_ending{false};
    std::mutex m_summaryMutex;
    RunSummary m_summary;
    size_t m_handled = 0;
};

// done * 100 / total clamped to 0..100, in 64 bits so byte counts cannot overflow;
// false when total <= 0.
bool ProgressPercent(int32_t done, int32_t total, int32_t& percent);
