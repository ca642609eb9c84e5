#include "cli/JsonReporter.h"

#include "core/PathText.h"
#include "engine/api/EngineService.h"

namespace {

std::string Text(const wxString& text) {
    return JsonReporter::Quote(PathText::Printable(text).utf8_string());
}

std::string Number(int64_t value) {
    return value < 0 ? "null" : std::to_string(value);
}

const char* StatusName(const ItemResult& result) {
    switch (result.status) {
    case ItemStatus::Finished:
        return "written";
    case ItemStatus::Failed:
        // The engine gave up the file because the run was stopped.
        return result.code == PDFMS_ERR_STOPPED ? "stopped" : "failed";
    case ItemStatus::Refused:
        return "refused";
    case ItemStatus::Stopped:
        return "not_started"; // the stop came before it
    }
    return "failed";
}

const char* const kStatuses[] = {"written", "failed", "refused", "stopped", "not_started"};

std::string WriterName(int32_t writer) {
    switch (writer) {
    case PDFMS_WRITER_ONE_PASS:
        return "\"one-pass\"";
    case PDFMS_WRITER_QPDF:
        return "\"qpdf\"";
    default:
        return "null";
    }
}

} // namespace

JsonReporter::JsonReporter(FILE* out) : m_out(out) {}

void JsonReporter::Expect(const std::vector<BatchItem>& items) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const BatchItem& item : items)
        m_waiting[item.index] = item.path;
}

std::string JsonReporter::Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void JsonReporter::Line(const std::string& status, const std::string& json) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!status.empty())
        ++m_counts[status];
    std::fprintf(m_out, "%s\n", json.c_str());
    std::fflush(m_out);
}

void JsonReporter::OnItemResult(const BatchItem& item, int, const ItemResult& result) {
    const bool written = result.status == ItemStatus::Finished;
    const std::string status = StatusName(result);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.erase(item.index);
    }
    Line(status,
         "{\"source\":" + Text(item.path) + ",\"output\":" +
             (result.output.empty() ? "null" : Text(result.output)) + ",\"status\":\"" + status +
             "\",\"code\":" + (status == "not_started" ? "null" : std::to_string(result.code)) +
             ",\"message\":" + Text(result.message) + ",\"pages\":" + Number(result.pages) +
             ",\"bytes_in\":" + Number(result.bytesIn) +
             ",\"bytes_out\":" + Number(written ? result.bytesOut : -1) +
             ",\"milliseconds\":" + std::to_string(result.milliseconds) +
             ",\"writer\":" + (written ? WriterName(result.writer) : "null") + ",\"reason\":" +
             (written && !result.reason.empty() ? Quote(result.reason) : "null") + "}");
}

void JsonReporter::Missing(const std::string& source, const std::string& message) {
    Line("failed",
         "{\"source\":" + Quote(source) +
             ",\"output\":null,\"status\":\"failed\",\"code\":-1,\"message\":" + Quote(message) +
             ",\"pages\":null,\"bytes_in\":null,\"bytes_out\":null,\"milliseconds\":0,"
             "\"writer\":null,\"reason\":null}");
}

void JsonReporter::OnRunEnded(const RunSummary&) {
    std::map<int32_t, wxString> waiting;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        waiting.swap(m_waiting);
    }
    for (const auto& [index, path] : waiting)
        Line("not_started", "{\"source\":" + Text(path) +
                                ",\"output\":null,\"status\":\"not_started\",\"code\":null,"
                                "\"message\":\"not started: the run was stopped\",\"pages\":null,"
                                "\"bytes_in\":null,\"bytes_out\":null,\"milliseconds\":0,"
                                "\"writer\":null,\"reason\":null}");
}

void JsonReporter::Summary() {
    std::string summary;
    int files = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const char* status : kStatuses) {
            files += m_counts[status];
            summary += std::string(",\"") + status + "\":" + std::to_string(m_counts[status]);
        }
    }
    Line("", "{\"summary\":{\"files\":" + std::to_string(files) + summary + "}}");
}
