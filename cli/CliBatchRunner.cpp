#include "cli/CliBatchRunner.h"

#include "batch/EncryptParams.h"
#include "batch/OutputNames.h"
#include "engine/api/PdfMSService.h"
#include "cli/TerminalProgress.h"
#include "core/FileUtil.h"

#include <csignal>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

wxString Wide(const std::string& s) {
    return wxString::FromUTF8(s.c_str());
}

} // namespace

struct CliBatchRunner::Slot {
    TerminalProgress* progress;
    int index;
    std::string name;
};

CliBatchRunner::CliBatchRunner(const CliSettings& settings, FILE* out, TerminalProgress* progress)
    : m_settings(settings), m_out(out), m_progress(progress) {}

void CliBatchRunner::RequestStop() {
    g_stop = 1;
}

std::string CliBatchRunner::DescribeResult(int32_t code) {
    switch (code) {
    case PDFMS_OK:
        return "Finished";
    case PDFMS_ERR_SOURCE:
        return "source cannot be read";
    case PDFMS_ERR_SOURCE_PASSWORD:
        return "source is encrypted";
    case PDFMS_ERR_OUTPUT:
        return "output cannot be written";
    case PDFMS_ERR_STOPPED:
        return "stopped";
    case PDFMS_ERR_HOST:
        return "the engine crashed or ran out of time or memory on this file";
    case PDFMS_ERR_VERIFY:
        return "the written file did not read back correctly";
    case PDFMS_ERR_ARGUMENT:
        return "bad arguments";
    default:
        return "engine error";
    }
}

int32_t CliBatchRunner::OnProgress(void* data, int32_t done, int32_t total) {
    auto* slot = static_cast<Slot*>(data);
    if (slot->progress && total > 0)
        slot->progress->Set(slot->index, slot->name, done * 100 / total);
    return g_stop ? PDFMS_PROGRESS_STOP : PDFMS_PROGRESS_CONTINUE;
}

std::string CliBatchRunner::Refusal(PdfMSService* service, const std::string& source) {
    // The window's probe rules: encryption wins over the open state.
    int32_t state = service->GetOpenState(source.c_str());
    if (service->IsEncrypted(source.c_str()))
        state = PDFMS_OPEN_ENCRYPTED;
    switch (state) {
    case PDFMS_OPEN_OK:
    case PDFMS_OPEN_REPAIRED:
        return "";
    case PDFMS_OPEN_ENCRYPTED:
        return source + " is already encrypted!";
    case PDFMS_OPEN_DAMAGED:
        return " Fail to open " + source + ", it may be destroyed!";
    default:
        return source + " can't support!";
    }
}

bool CliBatchRunner::ClaimOutput(const std::string& output) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_outputs.insert(output).second;
}

void CliBatchRunner::Print(const std::string& line, bool success) {
    if (success && m_settings.quiet)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_progress)
        m_progress->Clear();
    std::fprintf(m_out, "%s\n", line.c_str());
    std::fflush(m_out);
}

bool CliBatchRunner::Process(PdfMSService* service, int slot, const std::string& source,
                             const void* params) {
    std::string refusal = Refusal(service, source);
    if (!refusal.empty()) {
        Print(refusal, false);
        return false;
    }
    const std::string output =
        MakeOutputPath(Wide(m_settings.outputDir), Wide(NameOf(source)), ".pdf").utf8_string();
    const std::string head = source + " -> " + output + ": ";
    // Two sources of one name would silently overwrite each other's result.
    if (!ClaimOutput(output)) {
        Print(head + "Fail (another file of this run has the same output name)", false);
        return false;
    }

    FileUtil::WriteLogEvent("Converting", Wide(source), 0);
    Slot data{m_progress, slot, NameOf(source)};
    PdfMSSource src{};
    src.path = source.c_str();
    int32_t code =
        service->EncryptPdf(service, &src, output.c_str(),
                            static_cast<const PdfMSEncryptParams*>(params), &data, OnProgress);
    if (m_progress)
        m_progress->Set(slot, "", -1);
    // With parallel jobs the records of files interleave; the path tells them apart.
    const wxString detail = m_parallel ? Wide(source) : wxString();
    if (code != PDFMS_OK) {
        FileUtil::WriteLogEvent("Fail", detail, code);
        Print(head + "Fail (" + DescribeResult(code) + ") [" + std::to_string(code) + "]", false);
        return false;
    }
    FileUtil::WriteLogEvent("Finished", detail, 0);
    Print(head + "Finished", true);
    return true;
}

void CliBatchRunner::Work(int slot, const std::vector<std::string>& files, const void* params) {
    PdfMSService* service = CreatePdfMSService();
    for (;;) {
        if (g_stop)
            break;
        size_t i = m_next++;
        if (i >= files.size())
            break;
        if (!Process(service, slot, files[i], params))
            ++m_failures;
        if (m_progress)
            m_progress->FileDone();
    }
    FreePdfMSService(service);
}

int CliBatchRunner::Run(const std::vector<std::string>& files) {
    FileUtil::WriteLog("");
    FileUtil::WriteLogEvent("Output Dir ", Wide(m_settings.outputDir + "/"), 0);
    EncryptParams params(m_settings.run);

    int workers = m_settings.jobs;
    if (static_cast<size_t>(workers) > files.size())
        workers = static_cast<int>(files.size());
    m_parallel = workers > 1;
    std::vector<std::thread> threads;
    std::atomic<int> running{workers};
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back([this, w, &files, &params, &running] {
            Work(w, files, params.get());
            --running;
        });
    }
    while (m_progress && running > 0) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_progress->Draw();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (auto& t : threads)
        t.join();
    if (m_progress)
        m_progress->Clear();
    // Files never started because of a stop count as not written.
    size_t started = std::min(m_next.load(), files.size());
    if (started < files.size())
        m_failures += static_cast<int>(files.size() - started);
    return m_failures > 0 ? 1 : 0;
}
