#include "cli/CliBatchRunner.h"

#include "batch/BatchRun.h"
#include "cli/CliReporter.h"
#include "core/PathText.h"
#include "engine/PdfEngine.h"

#include <chrono>
#include <future>

namespace {
// Raised from the signal handler; a lock-free atomic, so that is allowed.
StopToken g_stop;
} // namespace

CliBatchRunner::CliBatchRunner(const CliSettings& settings, FILE* out, TerminalProgress* progress)
    : m_settings(settings), m_out(out), m_progress(progress) {}

void CliBatchRunner::RequestStop() {
    g_stop.Request(StopToken::Stop);
}

int CliBatchRunner::Run(const std::vector<std::string>& files) {
    std::vector<BatchItem> items;
    for (const std::string& file : files) {
        BatchItem item;
        item.index = static_cast<int32_t>(items.size());
        item.path = PathText::FromBytes(file);
        const int slash = item.path.Find('/', true);
        item.fileName = slash == wxNOT_FOUND ? item.path : item.path.Mid(slash + 1);
        items.push_back(item);
    }

    BatchRun::Settings settings;
    settings.outputDir = PathText::FromBytes(m_settings.outputDir);
    settings.run = m_settings.run;
    settings.jobs = std::min<int>(m_settings.jobs, static_cast<int>(items.size()));
    settings.checkFirst = true;

    PdfEngine::SetExpectedHosts(settings.jobs);
    CliReporter reporter(m_out, m_progress, m_settings.quiet);
    BatchRun run(settings, reporter, g_stop);
    auto result = std::async(std::launch::async, [&] { return run.Run(items); });
    bool cancelled = false;
    while (result.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        reporter.Draw();
        // A file being checked has no progress to answer a stop with: end its host.
        if (!cancelled && g_stop.Get() != StopToken::None) {
            PdfEngine::CancelProbes();
            cancelled = true;
        }
    }
    const RunSummary summary = result.get();
    reporter.ClearProgress();
    return summary.written == static_cast<int>(items.size()) - summary.skipped ? 0 : 1;
}
