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

const char* StatusName(ItemStatus status) {
    switch (status) {
    case ItemStatus::Finished:
        return "written";
    case ItemStatus::Failed:
        return "failed";
    case ItemStatus::Refused:
        return "refused";
    case ItemStatus::Stopped:
        return "stopped";
    }
    return "failed";
}

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

void JsonReporter::Line(const std::string& json) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::fprintf(m_out, "%s\n", json.c_str());
    std::fflush(m_out);
}

void JsonReporter::OnItemResult(const BatchItem& item, int, const ItemResult& result) {
    const bool written = result.status == ItemStatus::Finished;
    Line("{\"source\":" + Text(item.path) +
         ",\"output\":" + (result.output.empty() ? "null" : Text(result.output)) +
         ",\"status\":\"" + StatusName(result.status) +
         "\",\"code\":" + std::to_string(result.code) + ",\"message\":" + Text(result.message) +
         ",\"pages\":" + Number(result.pages) + ",\"bytes_in\":" + Number(result.bytesIn) +
         ",\"bytes_out\":" + Number(written ? result.bytesOut : -1) +
         ",\"milliseconds\":" + std::to_string(result.milliseconds) +
         ",\"writer\":" + (written ? WriterName(result.writer) : "null") + "}");
}

void JsonReporter::Missing(const std::string& source, const std::string& message) {
    ++m_missing;
    Line("{\"source\":" + Quote(source) +
         ",\"output\":null,\"status\":\"failed\",\"code\":-1,\"message\":" + Quote(message) +
         ",\"pages\":null,\"bytes_in\":null,\"bytes_out\":null,\"milliseconds\":0,"
         "\"writer\":null}");
}

void JsonReporter::OnRunEnded(const RunSummary& s) {
    const int files =
        s.written + s.failed + s.refused + s.stopped + s.skipped + s.notStarted + m_missing;
    Line("{\"summary\":{\"files\":" + std::to_string(files) + ",\"written\":" +
         std::to_string(s.written) + ",\"failed\":" + std::to_string(s.failed + m_missing) +
         ",\"refused\":" + std::to_string(s.refused) + ",\"stopped\":" + std::to_string(s.stopped) +
         ",\"not_started\":" + std::to_string(s.notStarted) + "}}");
}
