// The exported service table: plain function pointers onto PdfEngine.

#include "engine/api/EngineService.h"
#include "engine/PdfEngine.h"
#include "engine/ProbeCache.h"

#include <exception>

namespace {

int32_t EncryptPdfSlot(PdfMSService* /*self*/, const PdfMSSource* source, const char* outputPath,
                       const PdfMSEncryptParams* params, void* userData, PdfMSProgressFn progress) {
    try {
        return PdfEngine::Encrypt(source, outputPath, params, userData, progress);
    } catch (const std::exception&) {
        return PDFMS_ERR_ENGINE;
    }
}

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

int32_t GetPageCountSlot(const char* path) {
    ProbeResult r = SafeProbe(path);
    bool opened = r.openState == PDFMS_OPEN_OK || r.openState == PDFMS_OPEN_REPAIRED;
    return opened ? r.pageCount : 0;
}

int32_t GetOpenStateSlot(const char* path) {
    return SafeProbe(path).openState;
}

int32_t IsEncryptedSlot(const char* path) {
    return SafeProbe(path).encrypted;
}

} // namespace

extern "C" {

PdfMSService* CreatePdfMSService() {
    auto* s = new PdfMSService();
    s->EncryptPdf = EncryptPdfSlot;
    s->GetPageCount = GetPageCountSlot;
    s->GetOpenState = GetOpenStateSlot;
    s->IsEncrypted = IsEncryptedSlot;
    return s;
}

void FreePdfMSService(PdfMSService* service) {
    delete service;
}
}
