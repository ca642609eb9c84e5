#include "batch/BatchRun.h"

#include "batch/EncryptParams.h"
#include "batch/PdfEngineFactory.h"
#include "batch/ProbeFile.h"
#include "batch/ResultTexts.h"
#include "core/FileUtil.h"
#include "core/PathText.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

struct ProgressContext {
    BatchObserver* observer;
    const BatchItem* item;
    int slot;
    const StopToken* stop;
    int32_t lastPercent;
};

int32_t OnEngineProgress(void* data, int32_t done, int32_t total) {
    auto* context = static_cast<ProgressContext*>(data);
    int32_t percent = 0;
    if (ProgressPercent(done, total, percent) && percent != context->lastPercent) {
        context->lastPercent = percent;
        context->observer->OnItemProgress(*context->item, context->slot, percent);
    }
    return context->stop->Get() != StopToken::None ? PDFMS_PROGRESS_STOP : PDFMS_PROGRESS_CONTINUE;
}

struct ReplaceContext {
    const BatchRun* run;
    const BatchItem* item;
};

int32_t MayReplace(void* data, uint64_t device, uint64_t inode) {
    const auto* context = static_cast<const ReplaceContext*>(data);
    return context->run->MayReplace(*context->item, device, inode) ? 1 : 0;
}

bool Exists(const wxString& path) {
    struct stat st;
    return ::lstat(PathText::ToBytes(path).c_str(), &st) == 0;
}

int64_t SizeOf(const wxString& path) {
    struct stat st;
    return ::stat(PathText::ToBytes(path).c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size)
                                                             : -1;
}

// The output takes the source's modification (and access) time.
void CopyTimes(const wxString& source, const wxString& output) {
    struct stat st;
    if (::stat(PathText::ToBytes(source).c_str(), &st) != 0)
        return;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, PathText::ToBytes(output).c_str(), times, AT_SYMLINK_NOFOLLOW);
}

ItemResult Failure(int32_t code, const wxString& output = wxString()) {
    ItemResult result;
    result.status = ItemStatus::Failed;
    result.code = code;
    result.message = DescribeResult(code, false, Words::English);
    result.shownMessage = DescribeResult(code);
    result.output = output;
    return result;
}

} // namespace

bool ProgressPercent(int32_t done, int32_t total, int32_t& percent) {
    if (total <= 0)
        return false;
    int64_t value = static_cast<int64_t>(done) * 100 / total;
    if (value < 0)
        value = 0;
    if (value > 100)
        value = 100;
    percent = static_cast<int32_t>(value);
    return true;
}

BatchRun::BatchRun(const Settings& settings, BatchObserver& observer, const StopToken& stop)
    : m_settings(settings), m_observer(observer), m_stop(stop) {}

BatchRun::~BatchRun() = default;

bool BatchRun::MayReplace(const BatchItem& item, uint64_t device, uint64_t inode) const {
    return m_planner->MayReplace(item, device, inode);
}

wxString BatchRun::Detail(const wxString& source) const {
    return m_settings.jobs > 1 ? source : wxString();
}

void BatchRun::Report(const BatchItem& item, int slot, const ItemResult& result) {
    {
        std::lock_guard<std::mutex> lock(m_summaryMutex);
        ++m_handled;
        m_summary.Count(result.status);
    }
    m_observer.OnItemResult(item, slot, result);
}

int32_t BatchRun::Encrypt(EngineService* service, const BatchItem& item, int slot,
                          const wxString& source, void* progress, ItemResult& result) {
    if (!service)
        return PDFMS_ERR_ENGINE;
    std::unique_ptr<EncryptParams> own;
    if (item.options)
        own = std::make_unique<EncryptParams>(*item.options);
    const EncryptParams& params = own ? *own : *m_params;
    const std::string sourceBytes = PathText::ToBytes(source);

    int32_t code = PDFMS_OK;
    ReplaceContext replace{this, &item};
    for (int taken = 0;; ++taken) {
        const OutputPlanner::Choice choice = m_planner->Pick(item, source, taken);
        result.output = choice.path;
        if (choice.code != 0)
            return choice.code;
        m_observer.OnItemStarted(item, slot);
        const std::string outputBytes = PathText::ToBytes(choice.path);
        PdfMSOutcome outcome;
        std::memset(&outcome, 0, sizeof outcome);
        PdfMSSource record;
        std::memset(&record, 0, sizeof record);
        record.path = sourceBytes.c_str();
        record.mayReplace = ::MayReplace;
        record.replaceData = &replace;
        record.outcome = &outcome;
        code = service->EncryptPdf(&record, outputBytes.c_str(), params.get(), progress,
                                   OnEngineProgress);
        result.writer = outcome.writer;
        result.reason.assign(outcome.reason, strnlen(outcome.reason, sizeof outcome.reason));
        if (outcome.tempLeft[0]) {
            const wxString left = PathText::Printable(PathText::FromBytes(outcome.tempLeft));
            const char* format = wxTRANSLATE("the temporary file %s could not be removed");
            result.message = wxString::Format(InWords(format, Words::English), left);
            result.shownMessage = wxString::Format(InWords(format, Words::Shown), left);
        }
        if (code != PDFMS_OK)
            m_planner->Release(choice.path, source);
        // Rename: a file took that name while this one was written; try the next.
        if (code != PDFMS_ERR_OUTPUT_EXISTS || m_planner->policy() != OverwritePolicy::Rename)
            return code;
    }
}

bool BatchRun::Process(EngineService* service, int slot, const BatchItem& item) {
    const wxString& source = item.path;
    ItemResult result;
    // Gone since it was listed: say so, rather than what a probe of nothing says.
    if (m_settings.checkFirst && !Exists(source)) {
        FileUtil::WriteLogEvent("Fail", Detail(source), kItemMissing);
        Report(item, slot, Failure(kItemMissing));
        return true;
    }
    if (m_settings.checkFirst) {
        const FileRow row = ProbeFile(source);
        // A stop during the check ended its host: the answer says nothing of the file.
        if (m_stop.Get() != StopToken::None)
            return false;
        long pages = -1;
        if (row[FILEROW_PAGES].ToLong(&pages))
            result.pages = static_cast<int32_t>(pages);
        const wxString code = row[FILEROW_OPEN_CODE];
        const wxString refusal =
            m_settings.acceptEncrypted && code == "4" ? wxString() : OpenStateRefusal(code, source);
        if (!refusal.empty()) {
            result.status = ItemStatus::Refused;
            result.message = OpenStateRefusal(code, source, Words::English);
            result.shownMessage = refusal;
            Report(item, slot, result);
            return true;
        }
    }
    if (!FileUtil::FileExists(source)) {
        FileUtil::WriteLogEvent("Fail", Detail(source), kItemMissing);
        Report(item, slot, Failure(kItemMissing));
        return true;
    }
    FileUtil::WriteLogEvent("Converting", source, 0);
    switch (m_stop.Get()) {
    case StopToken::Abandon:
        return false;
    case StopToken::Stop:
        result.status = ItemStatus::Stopped;
        result.message = InWords(wxTRANSLATE("stopped before it was started"), Words::English);
        result.shownMessage = InWords(wxTRANSLATE("stopped before it was started"), Words::Shown);
        Report(item, slot, result);
        return false;
    case StopToken::None:
        break;
    }

    result.bytesIn = SizeOf(source);
    ProgressContext progress{&m_observer, &item, slot, &m_stop, -1};
    const auto start = std::chrono::steady_clock::now();
    const int32_t code = Encrypt(service, item, slot, source, &progress, result);
    result.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
    if (m_stop.Get() == StopToken::Abandon) {
        std::lock_guard<std::mutex> lock(m_summaryMutex);
        m_summary.abandoned = true;
        return false;
    }
    result.code = code;
    if (code != PDFMS_OK) {
        FileUtil::WriteLogEvent("Fail", Detail(source), code);
        const wxString left = result.message;
        const wxString shownLeft = result.shownMessage;
        const RunOptions& run = item.options ? *item.options : m_settings.run;
        const bool given = !run.sourcePassword.empty();
        result.status = ItemStatus::Failed;
        result.message =
            DescribeResult(code, given, Words::English) + (left.empty() ? wxString() : "; " + left);
        result.shownMessage =
            DescribeResult(code, given) + (shownLeft.empty() ? wxString() : "; " + shownLeft);
        Report(item, slot, result);
        return true;
    }
    Finish(item, slot, source, result);
    return true;
}

void BatchRun::Finish(const BatchItem& item, int slot, const wxString& source, ItemResult& result) {
    if (m_settings.preserveTime)
        CopyTimes(source, result.output);
    result.bytesOut = SizeOf(result.output);
    FileUtil::WriteLogEvent("Finished", Detail(source), 0);
    // Which writer made the file and why: a slow file says why it was slow.
    if (result.writer != PDFMS_WRITER_NONE)
        FileUtil::WriteLogEvent(
            "Writer",
            wxString(result.writer == PDFMS_WRITER_ONE_PASS ? "one-pass " : "qpdf ") +
                wxString::FromUTF8(result.reason),
            0);
    result.status = ItemStatus::Finished;
    Report(item, slot, result);
}

void BatchRun::Work(int slot, const std::vector<BatchItem>& items) {
    const std::unique_ptr<EngineService> service = CreateEngineService();
    while (!m_ending) {
        const size_t i = m_next++;
        if (i >= items.size())
            break;
        const BatchItem& item = items[i];
        if (item.done) {
            std::lock_guard<std::mutex> lock(m_summaryMutex);
            ++m_summary.skipped;
            ++m_handled;
            continue;
        }
        if (!Process(service.get(), slot, item))
            m_ending = true;
    }
}

RunSummary BatchRun::Run(const std::vector<BatchItem>& items) {
    FileUtil::WriteLog(wxString());
    m_outputDir = m_settings.outputDir;
    FileUtil::WriteLogEvent("Output Dir ", m_outputDir, 0);
    if (!FileUtil::DirExists(m_outputDir)) {
        m_observer.OnOutputDirMissing(m_outputDir);
        return m_summary;
    }
    m_observer.OnRunStarted(m_outputDir);
    for (const BatchItem& item : items)
        m_sources.Add(item.path);
    if (!m_settings.report.empty())
        m_sources.AddReport(m_settings.report);
    OutputPlanner::Settings output;
    output.folder = m_outputDir;
    output.suffix = m_settings.suffix;
    output.extension = m_settings.extension;
    output.overwrite = m_settings.overwrite;
    m_planner = std::make_unique<OutputPlanner>(output, m_sources);
    m_params = std::make_unique<EncryptParams>(m_settings.run);

    const int jobs = m_settings.jobs < 1 ? 1 : m_settings.jobs;
    if (jobs == 1) {
        Work(0, items);
    } else {
        std::vector<std::thread> workers;
        for (int slot = 0; slot < jobs && static_cast<size_t>(slot) < items.size(); ++slot)
            workers.emplace_back([this, slot, &items] { Work(slot, items); });
        for (std::thread& worker : workers)
            worker.join();
    }
    m_summary.notStarted = static_cast<int>(items.size() - m_handled);
    m_observer.OnRunEnded(m_summary);
    return m_summary;
}
