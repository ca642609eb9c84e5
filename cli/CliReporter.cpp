#include "cli/CliReporter.h"

#include "cli/TerminalProgress.h"
#include "core/PathText.h"
#include "engine/api/EngineService.h"

#include <wx/translation.h>

namespace {
std::string NameOf(const wxString& path) {
    const int slash = path.Find('/', true);
    return PathText::Printable(slash == wxNOT_FOUND ? path : path.Mid(slash + 1)).utf8_string();
}
} // namespace

CliReporter::CliReporter(FILE* out, FILE* errors, TerminalProgress* progress, bool quiet)
    : m_out(out), m_errors(errors), m_progress(progress), m_quiet(quiet) {}

void CliReporter::OnItemStarted(const BatchItem& item, int slot) {
    if (m_progress)
        m_progress->Set(slot, NameOf(item.path), 0);
}

void CliReporter::OnItemProgress(const BatchItem& item, int slot, int percent) {
    if (m_progress)
        m_progress->Set(slot, NameOf(item.path), percent);
}

void CliReporter::OnItemResult(const BatchItem& item, int slot, const ItemResult& result) {
    if (m_progress) {
        m_progress->Set(slot, "", -1);
        m_progress->FileDone();
    }
    // Names reach a terminal: escape sequences in them must not.
    const wxString head =
        PathText::Printable(item.path) +
        (result.output.empty() ? wxString() : " -> " + PathText::Printable(result.output)) + ": ";
    switch (result.status) {
    case ItemStatus::Finished:
        if (!m_quiet)
            Print(head + _("Finished"), false);
        break;
    case ItemStatus::Refused:
        Print(PathText::Printable(result.shownMessage), true);
        break;
    case ItemStatus::Stopped:
        break; // never started: the run ended there
    case ItemStatus::Failed:
        if (result.code == PDFMS_ERR_STOPPED)
            Print(head + _("Stop"), true);
        else
            Print(head + _("Fail") + " (" + result.shownMessage + ") [" +
                      wxString::Format("%d", result.code) + "]",
                  true);
        break;
    }
}

void CliReporter::Print(const wxString& line, bool failure) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_progress)
        m_progress->Clear();
    const std::string text = line.utf8_string();
    std::fprintf(m_out, "%s\n", text.c_str());
    std::fflush(m_out);
    if (failure && m_errors && m_errors != m_out) {
        std::fprintf(m_errors, "%s\n", text.c_str());
        std::fflush(m_errors);
    }
}

void CliReporter::Error(const std::string& line) {
    Print(wxString::FromUTF8(line.c_str()), true);
}

void CliReporter::Draw() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_progress)
        m_progress->Draw();
}

void CliReporter::ClearProgress() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_progress)
        m_progress->Clear();
}
