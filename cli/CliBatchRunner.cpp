#include "cli/CliBatchRunner.h"

#include "batch/BatchRun.h"
#include "cli/CliReporter.h"
#include "cli/CliText.h"
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

// The outputs written, by source, for a watch that takes a changed file again.
class CliBatchRunner::Outputs : public BatchObserver {
public:
    void OnItemResult(const BatchItem& item, int, const ItemResult& result) override {
        if (result.status != ItemStatus::Finished)
            return;
        struct stat st;
        if (::lstat(PathText::ToBytes(result.output).c_str(), &st) != 0)
            return;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_written[PathText::ToBytes(item.path)] = {st.st_dev, st.st_ino};
    }

    FileId Find(const std::string& source) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_written.find(source);
        return it == m_written.end() ? FileId{0, 0} : it->second;
    }

    void Forget(const std::string& path, bool folder) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!folder) {
            m_written.erase(path);
            return;
        }
        const std::string below = path + "/";
        auto it = m_written.lower_bound(below);
        while (it != m_written.end() && it->first.compare(0, below.size(), below) == 0)
            it = m_written.erase(it);
    }

private:
    std::mutex m_mutex;
    std::map<std::string, FileId> m_written;
};

CliBatchRunner::CliBatchRunner(const CliSettings& settings, TerminalProgress* progress)
    : m_settings(settings), m_progress(progress) {
    // With --json the results are the JSON lines; the sentences go to standard error.
    m_reporter = std::make_unique<CliReporter>(m_settings.json ? stderr : stdout,
                                               m_settings.json ? nullptr : stderr, m_progress,
                                               m_settings.quiet);
    if (m_settings.json)
        m_json = std::make_unique<JsonReporter>(stdout);
    m_outputs = std::make_unique<Outputs>();
}

CliBatchRunner::~CliBatchRunner() = default;

void CliBatchRunner::RequestStop() {
    g_stop.Request(StopToken::Stop);
}

bool CliBatchRunner::StopRequested() {
    return g_stop.Get() != StopToken::None;
}

void CliBatchRunner::Forget(const std::string& path, bool folder) {
    m_outputs->Forget(path, folder);
}

std::vector<BatchItem>
CliBatchRunner::MakeItems(const std::vector<CollectedFile>& collected,
                          std::vector<std::pair<std::string, std::string>>& errors) {
    std::vector<CollectedFile> listed;
    if (m_settings.table && !m_tableTaken) {
        // A listed file is an input too (of the first batch), unless a PATH brought it
        // already.
        m_tableTaken = true;
        std::set<FileId> ids;
        for (const CollectedFile& f : collected)
            AddIdentity(f.path, ids);
        for (const std::string& path : m_settings.table->paths()) {
            if (AddIdentity(path, ids))
                listed.push_back({path, ""});
        }
    }

    std::vector<BatchItem> items;
    items.reserve(collected.size() + listed.size());
    const std::vector<CollectedFile>& more = listed;
    for (const auto* part : {&collected, &more})
        for (const CollectedFile& file : *part)
            AddItem(file, items, errors);
    return items;
}

void CliBatchRunner::AddItem(const CollectedFile& file, std::vector<BatchItem>& items,
                             std::vector<std::pair<std::string, std::string>>& errors) {
    BatchItem item;
    item.index = m_nextIndex++;
    item.path = PathText::FromBytes(file.path);
    const int slash = item.path.Find('/', true);
    item.fileName = slash == wxNOT_FOUND ? item.path : item.path.Mid(slash + 1);
    item.outputSubfolder = PathText::FromBytes(file.subfolder);
    if (m_keepOutputs && m_settings.overwrite == OverwritePolicy::Never)
        item.earlierOutput = m_outputs->Find(file.path);
    if (m_settings.table)
        item.options = m_settings.table->Find(file.path);
    if (m_settings.generatePasswords) {
        auto options = std::make_shared<RunOptions>(m_settings.run);
        std::string password;
        if (!PasswordGenerator::Make(password)) {
            errors.emplace_back(file.path,
                                wxTRANSLATE("the system's random source cannot be read"));
            return;
        }
        options->options.userPassword = wxString::FromUTF8(password.c_str());
        options->userPasswordEnabled = true;
        item.options = options;
    }
    if (!item.options && !m_settings.hasPasswords) {
        errors.emplace_back(file.path, wxTRANSLATE("not in the password table, and the command "
                                                   "line gives no password"));
        return;
    }
    items.push_back(std::move(item));
}

int CliBatchRunner::Run(const std::vector<CollectedFile>& files) {
    if (!Open())
        return 2;
    const bool all = Batch(files, [] {});
    return Close() && all ? 0 : 1;
}

bool CliBatchRunner::Open() {
    if (!m_settings.generatePasswords)
        return true;
    m_report = std::make_unique<PasswordReport>();
    const std::string why = m_report->Create(m_settings.reportPath);
    if (!why.empty()) {
        const std::string sentence = FormatBytes(_("cannot create the report %s: %s"),
                                                 Name(m_settings.reportPath), Name(why));
        std::fprintf(stderr, "pdfzerovovor-cli: %s\n", sentence.c_str());
        return false;
    }
    return true;
}

bool CliBatchRunner::Close() {
    if (m_json)
        m_json->Summary();
    if (m_report && !m_report->Close()) {
        const std::string sentence = FormatBytes(_("the report %s could not be written in full"),
                                                 Name(m_settings.reportPath));
        std::fprintf(stderr, "pdfzerovovor-cli: %s\n", sentence.c_str());
        return false;
    }
    return true;
}

bool CliBatchRunner::Batch(const std::vector<CollectedFile>& files,
                           const std::function<void()>& idle) {
    std::vector<std::pair<std::string, std::string>> errors;
    const std::vector<BatchItem> items = MakeItems(files, errors);

    Observers observers;
    observers.Add(m_reporter.get());
    if (m_json) {
        m_json->Expect(items);
        observers.Add(m_json.get());
    }
    if (m_report)
        observers.Add(m_report.get());
    if (m_keepOutputs)
        observers.Add(m_outputs.get());
    for (const auto& [path, why] : errors) {
        const std::string shown = PathText::Printable(PathText::FromBytes(path)).utf8_string();
        // The terminal reads the reason in the user's language, the JSON report in English.
        std::string line = shown;
        if (!line.empty())
            line += ": ";
        line += TrUtf8(why.c_str());
        m_reporter->Error(line);
        if (m_json)
            m_json->Missing(shown, why);
    }
    if (items.empty())
        return errors.empty();

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
        m_reporter->Draw();
        idle();
        // A file being checked has no progress to answer a stop with: end its host.
        if (!cancelled && g_stop.Get() != StopToken::None) {
            PdfEngine::CancelProbes();
            cancelled = true;
        }
    }
    const RunSummary summary = result.get();
    m_reporter->ClearProgress();
    const bool all = summary.written == static_cast<int>(items.size()) - summary.skipped;
    return all && errors.empty();
}
