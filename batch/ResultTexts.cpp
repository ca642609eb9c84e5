#include "batch/ResultTexts.h"

#include "engine/api/EngineService.h"

#include <wx/translation.h>

wxString InWords(const char* english, Words words) {
    return words == Words::English ? wxString(english) : wxGetTranslation(english);
}

namespace {
const char* DescribeResultEnglish(int32_t code, bool sourcePasswordGiven) {
    switch (code) {
    case PDFMS_OK:
        return wxTRANSLATE("Finished");
    case kItemMissing:
        return wxTRANSLATE("the file no longer exists");
    case kItemNameTaken:
        return wxTRANSLATE("another file of this run has the same output name");
    case kItemOutputIsSource:
        return wxTRANSLATE("its output would replace a source file of this run");
    case kItemOutputExists:
    case PDFMS_ERR_OUTPUT_EXISTS:
        return wxTRANSLATE("the output file already exists");
    case kItemOutputFolder:
        return wxTRANSLATE("its output folder cannot be made");
    case kItemOutputIsReport:
        return wxTRANSLATE("its output would replace the password report of this run");
    case PDFMS_ERR_SOURCE:
        return wxTRANSLATE("source cannot be read");
    case PDFMS_ERR_SOURCE_PASSWORD:
        return sourcePasswordGiven ? wxTRANSLATE("wrong password for the encrypted source")
                                   : wxTRANSLATE("source is encrypted");
    case PDFMS_ERR_OUTPUT:
        return wxTRANSLATE("output cannot be written");
    case PDFMS_ERR_STOPPED:
        return wxTRANSLATE("stopped");
    case PDFMS_ERR_HOST:
        return wxTRANSLATE("the engine crashed or ran out of time or memory on this file");
    case PDFMS_ERR_VERIFY:
        return wxTRANSLATE("the written file did not read back correctly");
    case PDFMS_ERR_ARGUMENT:
        return wxTRANSLATE("bad arguments");
    case PDFMS_ERR_SOURCE_RESTRICTED:
        return wxTRANSLATE(
            "the source restricts changes and the password given is not its owner password");
    case PDFMS_ERR_SOURCE_CHANGED:
        return wxTRANSLATE("source changed while it was being encrypted");
    default:
        return wxTRANSLATE("engine error");
    }
}
} // namespace

wxString OpenStateRefusal(const wxString& openCode, const wxString& shownName, Words words) {
    if (openCode == "0" || openCode == "2")
        return wxString();
    if (openCode == "4")
        return wxString::Format(InWords(wxTRANSLATE("%s is already encrypted!"), words), shownName);
    if (openCode == "5")
        return wxString::Format(
            InWords(wxTRANSLATE(" Fail to open %s, it may be destroyed!"), words), shownName);
    return wxString::Format(InWords(wxTRANSLATE("%s can't support!"), words), shownName);
}

wxString DescribeResult(int32_t code, bool sourcePasswordGiven, Words words) {
    return InWords(DescribeResultEnglish(code, sourcePasswordGiven), words);
}
