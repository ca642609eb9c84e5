#include "batch/BatchRun.h"

#include "batch/EncryptParams.h"
#include "batch/OutputNames.h"
#include "batch/PdfEngineFactory.h"
#include "batch/ProbeFile.h"
#include "batch/ResultTexts.h"
#include "core/FileUtil.h"
#include "core/PathText.h"
#include "core/StringUtil.h"

#include <cstring>
#include <sys/stat.h>
#include <string>
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
    return context->stop->Get() != StopToken::None ? PDFMS_PROGRESS_STOP
                                                   : PDFMS_PROGRESS_CONTINUE;
}

// The engine asks before an output replaces an existing file.
int32_t MayReplace(void* data, uint64_t device, uint64_t inode) {
    return static_cast<const BatchRun*>(data)->IsRunSource(device, inode) ? 0 : 1;
}

bool Identity(const wxString& path, std::pair<uint64_t, uint64_t>& id) {
    struct stat st;
    if (::lstat(PathText::ToBytes(path).c_str(), &st) != 0)
        return false;
    id = {st.st_dev, st.st_ino};
    return true;
}

ItemResult Failure(int32_t code, const wxString& output = wxString()) {
    ItemResult result;
    result.status = ItemStatus::Failed;
    result.code = code;
    result.message = DescribeResult(code);
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

bool BatchRun::IsRunSource(uint64_t device, uint64_t inode) const {
    return m_sources.count({device, inode}) != 0;
}

bool BatchRun::IsRunSource(const wxString& path) const {
    std::pair<uint64_t, uint64_t> id;
    return Identity(path, id) && m_sources.count(id) != 0;
}

int32_t BatchRun::Encrypt(PdfMSService* service, const wxString& source, const wxString& output,
                          const EncryptParams& params, void* progress, ItemResult& result) {
    if (!service || !service->EncryptPdf)
        return PDFMS_ERR_ENGINE;
    const std::string sourceBytes = PathText::ToBytes(source);
    const std::string outputBytes = PathText::ToBytes(output);
    PdfMSOutcome outcome;
    std::memset(&outcome, 0, sizeof outcome);
    PdfMSSource record;
    std::memset(&record, 0, sizeof record);
    record.path = sourceBytes.c_str();
    record.mayReplace = MayReplace;
    record.replaceData = this;
    record.outcome = &outcome;
    const int32_t code = service->EncryptPdf(service, &record, outputBytes.c_str(), params.get(),
                                             progress, OnEngineProgress);
    result.writer = outcome.writer;
    if (outcome.tempLeft[0])
        result.message = "the temporary file " +
                         PathText::Printable(PathText::FromBytes(outcome.tempLeft)) +
                         " could not be removed";
    return code;
}

wxString BatchRun::Detail(const wxString& source) const {
    return m_settings.jobs > 1 ? source : wxString();
}

void BatchRun::Report(const BatchItem& item, int slot, const ItemResult& result) {
    {
        std::lock_guard<std::mutex> lock(m_summaryMutex);
        ++m_handled;
        switch (result.status) {
        case ItemStatus::Finished:
            ++m_summary.written;
            break;
        case ItemStatus::Failed:
            ++m_summary.failed;
            break;
        case ItemStatus::Refused:
            ++m_summary.refused;
            break;
        case ItemStatus::Stopped:
            ++m_summary.stopped;
            break;
        }
    }
    m_observer.OnItemResult(item, slot, result);
}

bool BatchRun::Process(PdfMSService* service, int slot, const BatchItem& item,
                       const EncryptParams& params) {
    const wxString source = StringUtil::ToSlashes(item.path);
    if (m_settings.checkFirst) {
        const FileRow row = ProbeFile(source);
        // A stop during the check ended its host: the answer says nothing of the file.
        if (m_stop.Get() != StopToken::None)
            return false;
        const wxString refusal = OpenStateRefusal(row[FILEROW_OPEN_CODE], source);
        if (!refusal.empty()) {
            ItemResult result;
            result.status = ItemStatus::Refused;
            result.message = refusal;
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
    case StopToken::Stop: {
        ItemResult result;
        result.status = ItemStatus::Stopped;
        result.message = "stopped before it was started";
        Report(item, slot, result);
        return false;
    }
    case StopToken::None:
        break;
    }

    const wxString output =
        MakeOutputPath(m_outputDir, item.fileName, m_settings.extension);
    if (!m_names.Claim(output, source)) {
        FileUtil::WriteLogEvent("Fail", Detail(source), kItemNameTaken);
        Report(item, slot, Failure(kItemNameTaken, output));
        return true;
    }
    // The user's own file of that name, listed in this run, is never written over.
    if (IsRunSource(output)) {
        m_names.Release(output, source);
        FileUtil::WriteLogEvent("Fail", Detail(source), kItemOutputIsSource);
        Report(item, slot, Failure(kItemOutputIsSource, output));
        return true;
    }
    m_observer.OnItemStarted(item, slot);
    ProgressContext progress{&m_observer, &item, slot, &m_stop, -1};
    ItemResult result;
    const int32_t code = Encrypt(service, source, output, params, &progress, result);
    if (m_stop.Get() == StopToken::Abandon) {
        std::lock_guard<std::mutex> lock(m_summaryMutex);
        m_summary.abandoned = true;
        return false;
    }
    result.output = output;
    result.code = code;
    if (code != PDFMS_OK) {
        m_names.Release(output, source);
        FileUtil::WriteLogEvent("Fail", Detail(source), code);
        const wxString left = result.message;
        result.status = ItemStatus::Failed;
        result.message = DescribeResult(code) + (left.empty() ? wxString() : "; " + left);
        Report(item, slot, result);
        return true;
    }
    FileUtil::WriteLogEvent("Finished", Detail(source), 0);
    result.status = ItemStatus::Finished;
    Report(item, slot, result);
    return true;
}

void BatchRun::Work(int slot, const std::vector<BatchItem>& items, const EncryptParams& params) {
    PdfMSService* service = CreateEngineService();
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
        if (!Process(service, slot, item, params))
            m_ending = true;
    }
    ReleaseEngineService(service);
}

RunSummary BatchRun::Run(const std::vector<BatchItem>& items) {
    FileUtil::WriteLog(wxString());
    m_outputDir = StringUtil::ToSlashes(m_settings.outputDir);
    FileUtil::WriteLogEvent("Output Dir ", m_outputDir, 0);
    if (!FileUtil::DirExists(m_outputDir)) {
        m_observer.OnOutputDirMissing(m_outputDir);
        return m_summary;
    }
    m_observer.OnRunStarted(m_outputDir);
    for (const BatchItem& item : items) {
        std::pair<uint64_t, uint64_t> id;
        if (Identity(StringUtil::ToSlashes(item.path), id))
            m_sources.insert(id);
    }

    const EncryptParams params(m_settings.run);
    const int jobs = m_settings.jobs < 1 ? 1 : m_settings.jobs;
    if (jobs == 1) {
        Work(0, items, params);
    } else {
        std::vector<std::thread> workers;
        for (int slot = 0; slot < jobs && static_cast<size_t>(slot) < items.size(); ++slot)
            workers.emplace_back([this, slot, &items, &params] { Work(slot, items, params); });
        for (std::thread& worker : workers)
            worker.join();
    }
    m_summary.notStarted = static_cast<int>(items.size() - m_handled);
    m_observer.OnRunEnded(m_summary);
    return m_summary;
}
