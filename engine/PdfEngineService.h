#pragma once
// The program's engine service: every call goes to PdfEngine, which runs the PDF
// work in an engine host process. Never throws.

#include "engine/api/EngineService.h"

class PdfEngineService final : public EngineService {
public:
    int32_t EncryptPdf(const PdfMSSource* source, const char* outputPath,
                       const PdfMSEncryptParams* params, void* userData,
                       PdfMSProgressFn progress) override;
    int32_t GetPageCount(const char* path) override;
    int32_t GetOpenState(const char* path) override;
    int32_t IsEncrypted(const char* path) override;
    int32_t CheckSourcePassword(const char* path, const char* password,
                                int32_t* pageCount) override;
};
