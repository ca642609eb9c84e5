#include "batch/SourcePasswordCheck.h"

#include "batch/PdfEngineFactory.h"
#include "core/PathText.h"

SourcePasswordCheck CheckSourcePassword(const wxString& path, const std::string& password) {
    SourcePasswordCheck result;
    result.code = PDFMS_ERR_ENGINE;
    std::unique_ptr<EngineService> service = CreateEngineService();
    if (!service)
        return result;
    const std::string bytes = PathText::ToBytes(path);
    result.code = service->CheckSourcePassword(bytes.c_str(), password.c_str(), &result.pages);
    if (result.code != PDFMS_OK)
        result.pages = 0;
    return result;
}
