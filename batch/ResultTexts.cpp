#include "batch/ResultTexts.h"

#include "engine/api/EngineService.h"

wxString OpenStateRefusal(const wxString& openCode, const wxString& shownName) {
    if (openCode == "0" || openCode == "2")
        return wxString();
    if (openCode == "4")
        return shownName + " is already encrypted!";
    if (openCode == "5")
        return " Fail to open " + shownName + ", it may be destroyed!";
    return shownName + " can't support!";
}

wxString DescribeResult(int32_t code, bool sourcePasswordGiven) {
    switch (code) {
    case PDFMS_OK:
        return "Finished";
    case kItemMissing:
        return "the file no longer exists";
    case kItemNameTaken:
        return "another file of this run has the same output name";
    case kItemOutputIsSource:
        return "its output would replace a source file of this run";
    case kItemOutputExists:
    case PDFMS_ERR_OUTPUT_EXISTS:
        return "the output file already exists";
    case kItemOutputFolder:
        return "its output folder cannot be made";
    case kItemOutputIsReport:
        return "its output would replace the password report of this run";
    case PDFMS_ERR_SOURCE:
        return "source cannot be read";
    case PDFMS_ERR_SOURCE_PASSWORD:
        return sourcePasswordGiven ? "wrong password for the encrypted source"
                                   : "source is encrypted";
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
    case PDFMS_ERR_SOURCE_RESTRICTED:
        return "the source restricts changes and the password given is not its owner password";
    case PDFMS_ERR_SOURCE_CHANGED:
        return "source changed while it was being encrypted";
    default:
        return "engine error";
    }
}
