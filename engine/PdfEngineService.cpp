#include "engine/PdfEngineService.h"

#include "engine/PdfEngine.h"
#include "engine/ProbeCache.h"

#include <exception>

namespace {
ProbeResult SafeProbe(const char* path) {
    try {
        if (path)
            return PdfEngine::Probe(path);
        ProbeResult r;
        r.openState = PDFMS_OPEN_NOT_FILE;
        return r;
    } catch (const std::exception&) {
        return ProbeResult();
    }
}
} // namespace

int32_t PdfEngineService::EncryptPdf(const PdfMSSource* source, const char* outputPath,
                                     const PdfMSEncryptParams* params, void* userData,
                                     PdfMSProgressFn progress) {
    try {
        return PdfEngine::Encrypt(source, outputPath, params, userData, progress);
    } catch (const std::exception&) {
        return PDFMS_ERR_ENGINE;
    }
}

int32_t PdfEngineService::GetPageCount(const char* path) {
    ProbeResult r = SafeProbe(path);
    bool opened = r.openState == PDFMS_OPEN_OK || r.openState == PDFMS_OPEN_REPAIRED;
    return opened ? r.pageCount : 0;
}

int32_t PdfEngineService::GetOpenState(const char* path) {
    return SafeProbe(path).openState;
}

int32_t PdfEngineService::IsEncrypted(const char* path) {
    return SafeProbe(path).encrypted;
}

int32_t PdfEngineService::CheckSourcePassword(const char* path, const char* password,
                                              int32_t* pageCount) {
    try {
        return PdfEngine::CheckSourcePassword(path, password, pageCount);
    } catch (const std::exception&) {
        return PDFMS_ERR_ENGINE;
    }
}
