#include "cli/CliBatchRunner.h"

#include "batch/BatchRun.h"
#include "cli/CliReporter.h"
#include "cli/JsonReporter.h"
#include "cli/PasswordGenerator.h"
#include "cli/PasswordReport.h"
#include "cli/PasswordTable.h"
#include "core/PathText.h"
#include "engine/PdfEngine.h"

#include <chrono>
#include <future>
#include <set>
#include <sys/stat.h>

namespace {
// Raised from the signal handler; a lock-free atomic, so that is allowed.
StopToken g_stop;

// Passes every report on to each of several observers.
class Observers : public BatchObserver {
public:
    void Add(BatchObserver* observer) { m_list.push_back(observer); }
    void OnItemStarted(const BatchItem& item, int slot) override {
        for (BatchObserver* o : m_list)
            o->OnItemStarted(item, slot);
    }
    void OnItemProgress(const BatchItem& item, int slot, int percent) override {
        for (BatchObserver* o : m_list)
            o->OnItemProgress(item, slot, percent);
    }
    void OnItemResult(const BatchItem& item, int slot, const ItemResult& result) override {
        for (BatchObserver* o : m_list)
            o->OnItemResult(item, slot, result);
    }
    void OnRunEnded(const RunSummary& summary) override {
        for (BatchObserver* o : m_list)
            o->OnRunEnded(summary);
    }

private:
    std::vector<BatchObserver*> m_list;
};

using FileId = std::pair<uint64_t, uint64_t>;

// Adds the identity of the file at path; false when it was there already.
bool AddIdentity(const std::string& path, std::set<FileId>& ids) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return true;
    return ids.insert({st.st_dev, st.st_ino}).second;
}

} // namespace

CliBatchRunner::CliBatchRunner(const CliSettings& settings, TerminalProgress* progress)
    : m_settings(settings), m_progress(progress) {}

void CliBatchRunner::RequestStop() {
    g_stop.Request(StopToken::Stop);
}

std::vector<BatchItem>
CliBatchRunner::MakeItems(const std::vector<CollectedFile>& collected,
                          std::vector<std::pair<std::string, std::string>>& errors) {
    std::vector<CollectedFile> files = collected;
    if (m_settings.table) {
        // A listed file is an input too, unless a PATH brought it already.
        std::set<FileId> ids;
        for (const CollectedFile& f : files)
            AddIdentity(f.path, ids);
        for (const std::string& path : m_settings.table->paths()) {
            if (AddIdentity(path, ids))
                files.push_back({path, ""});
        }
    }

    std::vector<BatchItem> items;
    for (const CollectedFile& file : files) {
        BatchItem item;
        item.index = static_cast<int32_t>(items.size());
        item.path = PathText::FromBytes(file.path);
        const int slash = item.path.Find('/', true);
        item.fileName = slash == wxNOT_FOUND ? item.path : item.path.Mid(slash + 1);
        item.outputSubfolder = PathText::FromBytes(file.subfolder);
        if (m_settings.table)
            item.options = m_settings.table->Find(file.path);
        if (m_settings.generatePasswords) {
            auto options = std::make_shared<RunOptions>(m_settings.run);
            std::string password;
            if (!PasswordGenerator::Make(password)) {
                errors.emplace_back(file.path, "the system's random source cannot be read");
                continue;
            }
            options->options.userPassword = wxString::FromUTF8(password.c_str());
            options->userPasswordEnabled = true;
            item.options = options;
        }
        if (!item.options && !m_settings.hasPasswords) {
            errors.emplace_back(file.path, "not in the password table, and the command line "
                                           "gives no password");
            continue;
        }
        items.push_back(item);
    }
    return items;
}

int CliBatchRunner::Run(const std::vector<CollectedFile>& files) {
    std::vector<std::pair<std::string, std::string>> errors;
    const std::vector<BatchItem> items = MakeItems(files, errors);

    // With --json the results are the JSON lines; the sentences go to standard error.
    FILE* lines = m_settings.json ? stderr : stdout;
    CliReporter reporter(lines, m_settings.json ? nullptr : stderr, m_progress, m_settings.quiet);
    JsonReporter json(stdout, items);
    PasswordReport report;
    Observers observers;
    observers.Add(&reporter);
    if (m_settings.json)
        observers.Add(&json);
    if (m_settings.generatePasswords) {
        const std::string why = report.Create(m_settings.reportPath);
        if (!why.empty()) {
            std::fprintf(stderr, "pdfzerovovor-cli: cannot create the report %s: %s\n",
                         m_settings.reportPath.c_str(), why.c_str());
            return 2;
        }
        observers.Add(&report);
    }
    for (const auto& [path, why] : errors) {
        const std::string shown = PathText::Printable(PathText::FromBytes(path)).utf8_string();
        std::string line = shown;
        if (!line.empty())
            line += ": ";
        line += why;
        reporter.Error(line);
        if (m_settings.json)
            json.Missing(shown, why);
    }

    BatchRun::Settings settings;
    settings.outputDir = PathText::FromBytes(m_settings.outputDir);
    settings.run = m_settings.run;
    settings.suffix = PathText::FromBytes(m_settings.suffix);
    settings.overwrite = m_settings.overwrite;
    settings.preserveTime = m_settings.preserveTime;
    settings.jobs = std::max(1, std::min<int>(m_settings.jobs, static_cast<int>(items.size())));
    settings.checkFirst = true;
    settings.acceptEncrypted = !m_settings.run.sourcePassword.empty();
    if (m_settings.generatePasswords)
        settings.report = PathText::FromBytes(m_settings.reportPath);

    PdfEngine::SetExpectedHosts(settings.jobs);
    BatchRun run(settings, observers, g_stop);
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
    if (m_settings.generatePasswords && !report.Close()) {
        std::fprintf(stderr, "pdfzerovovor-cli: the report %s could not be written in full\n",
                     m_settings.reportPath.c_str());
        return 1;
    }
    const bool all = summary.written == static_cast<int>(items.size()) - summary.skipped;
    return all && errors.empty() ? 0 : 1;
}
