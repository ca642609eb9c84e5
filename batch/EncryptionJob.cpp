#include "batch/EncryptionJob.h"

#include "batch/EncryptParams.h"
#include "batch/FileTypes.h"
#include "batch/JobHooks.h"
#include "batch/OutputNames.h"
#include "batch/PdfEngineFactory.h"
#include "batch/RunState.h"
#include "core/FileUtil.h"

#include <cstring>
#include <map>
#include <string>

namespace {
void PostCell(JobEventSink& sink, int32_t row, int32_t column, int32_t state, int payload = 0) {
    DhGridCellRenderCommandEvent* event =
        new DhGridCellRenderCommandEvent(wxEVT_PZ_CELL_RENDER, JobIds::kFileList);
    event->SetRow(row);
    event->SetCol(column);
    event->SetState(state);
    event->SetInt(payload);
    sink.Post(JobEventSink::FILE_LIST, event);
}

// The end of every run that got past the folder check: the options pane and the
// browse button come back, whether or not the windows are still there.
void UnlockWindows(JobEventSink& sink) {
    sink.PostCommand(JobEventSink::OPTIONS_PANE, wxEVT_PZ_OPTIONS_UNLOCK, JobIds::kOptionsPane);
    sink.PostCommand(JobEventSink::OUTPUT_PANEL, wxEVT_PZ_OUTPUT_UNLOCKED, JobIds::kOutputUnlocked);
}

int32_t Encrypt(PdfMSService* service, const wxString& source, const wxString& output,
                const EncryptParams& params, JobProgressContext& progress) {
    if (!service || !service->EncryptPdf)
        return PDFMS_ERR_ENGINE;
    const std::string sourceUtf8 = source.utf8_string();
    const std::string outputUtf8 = output.utf8_string();
    PdfMSSource record;
    std::memset(&record, 0, sizeof record);
    record.path = sourceUtf8.c_str();
    return service->EncryptPdf(service, &record, outputUtf8.c_str(), params.get(), &progress,
                               JobProgressCallback);
}
} // namespace

bool ProgressPercent(int32_t done, int32_t total, int32_t& percent) {
    if (total <= 0)
        return false;
    // Wide arithmetic: done * 100 overflows 32 bits once an engine counts bytes.
    int64_t value = static_cast<int64_t>(done) * 100 / total;
    if (value < 0)
        value = 0;
    if (value > 100)
        value = 100;
    percent = static_cast<int32_t>(value);
    return true;
}

int32_t JobProgressCallback(void* userData, int32_t done, int32_t total) {
    JobProgressContext* context = static_cast<JobProgressContext*>(userData);
    int32_t percent = 0;
    if (context && context->sink && ProgressPercent(done, total, percent) &&
        percent != context->lastPercent) {
        context->lastPercent = percent;
        PostCell(*context->sink, context->row, context->column, CELL_PROGRESS, percent);
    }
    if (g_stopRequested || g_runState == RUN_STOP_REQUESTED)
        return PDFMS_PROGRESS_STOP;
    return PDFMS_PROGRESS_CONTINUE;
}

void RunEncryptionJob(const JobInput& input) {
    // Without a sink the run still works and logs; its events go nowhere.
    std::shared_ptr<JobEventSink> sinkHolder = input.sink ? input.sink : JobEventSink::Create();
    JobEventSink& sink = *sinkHolder;

    FileUtil::WriteLog(wxString());
    wxString outputDir = input.outputDir;
    outputDir.Replace("\\", "/");
    FileUtil::WriteLogEvent("Output Dir ", outputDir, 0);
    if (!FileUtil::DirExists(outputDir)) {
        sink.PostCommand(JobEventSink::TOP_WINDOW, wxEVT_PZ_OUTPUT_DIR_MISSING, wxID_ANY);
        return;
    }

    sink.PostCommand(JobEventSink::OUTPUT_PANEL, wxEVT_PZ_OUTPUT_LOCKED, JobIds::kOutputLocked);
    sink.PostCommand(JobEventSink::OPTIONS_PANE, wxEVT_PZ_OPTIONS_LOCK, JobIds::kOptionsPane);

    const EncryptParams params(input.run);
    const wxString extension = g_extensionHook ? g_extensionHook() : GetWrittenExtension();
    PdfMSService* service = CreateEngineService();

    std::map<wxString, wxString> written; // output -> source, for this run
    JobProgressContext progress;
    progress.sink = &sink;
    progress.column = input.statusColumn;
    for (const JobRow& row : input.rows) {
        if (row.done)
            continue;
        progress.row = row.index;
        progress.lastPercent = -1;

        wxString source = row.path;
        source.Replace("\\", "/");
        if (!FileUtil::FileExists(source)) {
            FileUtil::WriteLogEvent("Fail", wxString(), -1);
            PostCell(sink, row.index, input.statusColumn, CELL_FAIL);
            continue;
        }
        FileUtil::WriteLogEvent("Converting", source, 0);
        if (g_stopRequested)
            break;
        if (g_runState == RUN_STOP_REQUESTED) {
            PostCell(sink, row.index, input.statusColumn, CELL_STOP);
            break;
        }

        const wxString output = MakeOutputPath(outputDir, row.fileName, extension);
        auto earlier = written.find(output);
        if (earlier != written.end() && earlier->second != source) {
            FileUtil::WriteLogEvent("Fail", wxString(), kJobOutputNameTaken);
            PostCell(sink, row.index, input.statusColumn, CELL_FAIL);
            continue;
        }
        sink.PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_ROW_STARTED, JobIds::kFileList,
                         row.index);
        const int32_t result = Encrypt(service, source, output, params, progress);

        if (g_stopRequested) {
            // The application is closing: show nothing more, but still hand the
            // engine back so its host process goes away with us.
            ReleaseEngineService(service);
            UnlockWindows(sink);
            return;
        }
        if (result != PDFMS_OK) {
            FileUtil::WriteLogEvent("Fail", wxString(), result);
            PostCell(sink, row.index, input.statusColumn, CELL_FAIL);
        } else {
            written[output] = source;
            PostCell(sink, row.index, input.statusColumn, CELL_FINISHED);
            FileUtil::WriteLogEvent("Finished", wxString(), 0);
            sink.PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_ROW_DONE, JobIds::kFileList,
                             row.index);
        }
    }

    ReleaseEngineService(service);
    if (!g_stopRequested)
        sink.PostCommand(JobEventSink::FILE_LIST, wxEVT_PZ_RESULTS_SHOWN, JobIds::kFileList);
    UnlockWindows(sink);
}
