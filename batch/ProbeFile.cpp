#include "batch/ProbeFile.h"

#include "batch/PdfEngineFactory.h"
#include "core/FileUtil.h"
#include "core/PathText.h"
#include "core/StringUtil.h"

#include <wx/translation.h>

#include <string>

namespace {
wxString OpenStateCode(int32_t state) {
    if (state >= PDFMS_OPEN_OK && state <= PDFMS_OPEN_DAMAGED)
        return wxString::Format("%d", state);
    return "6";
}

// Each engine call gets its own conversion, alive for the length of the call.
std::string Utf8(const wxString& path) {
    return PathText::ToBytes(path);
}
} // namespace

FileRow ProbeFile(const wxString& path) {
    const int64_t length = FileUtil::GetFileLength(path);

    wxString code = "6";
    // TRANSLATORS: the page count of a file that cannot be read.
    wxString pages = _("unknown");
    if (std::unique_ptr<EngineService> service = CreateEngineService()) {
        code = OpenStateCode(service->GetOpenState(Utf8(path).c_str()));
        if (service->IsEncrypted(Utf8(path).c_str()) != 0)
            code = "4";
        if (code == "0" || code == "2") {
            pages.clear();
            const int32_t count = service->GetPageCount(Utf8(path).c_str());
            if (count > 0)
                pages = wxString::Format("%d", count);
        }
    }

    const int slash = path.Find('/', true);
    // Shown in the list and in messages: a name that is not valid text is escaped.
    const wxString name = PathText::Printable(slash == wxNOT_FOUND ? path : path.Mid(slash + 1));
    const wxString folder = slash == wxNOT_FOUND ? wxString() : path.Left(slash);

    FileRow row;
    row.Add(path);
    row.Add(name);
    // A file that cannot be read shows 0 bytes rather than the -1 of the failure.
    row.Add(StringUtil::FormatSize(length > 0 ? static_cast<uint64_t>(length) : 0));
    row.Add(folder);
    row.Add(pages);
    row.Add(code);
    return row;
}
