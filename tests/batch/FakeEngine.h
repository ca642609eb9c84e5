#pragma once
// A scripted stand-in for the PDF engine: answers per file name, records every call,
// drives the progress callback and can hold one file until the batch asks to stop.

#include "engine/api/PdfMSService.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

struct FakeEncryptCall {
    std::string source;
    std::string output;
    std::string userPassword;
    std::string ownerPassword;
};

class FakeEngine {
public:
    FakeEngine();
    ~FakeEngine();

    // Probe answers, by path.
    std::map<std::string, int32_t> openState;
    std::map<std::string, int32_t> encrypted;
    std::map<std::string, int32_t> pageCount;
    // EncryptPdf result by source file name (after the last "/"); 0 by default.
    std::map<std::string, int32_t> encryptResult;
    // A source file name that keeps calling progress until it answers stop, then
    // returns PDFMS_ERR_STOPPED.
    std::string blockingName;
    std::atomic<bool> blockingEntered{false};

    std::vector<FakeEncryptCall> Calls();
    std::vector<std::string> ProbedPaths();
    int created = 0;
    int released = 0;

    // Installs this engine as the batch's engine factory (and removes it again).
    void Install();
    static void Uninstall();

private:
    static PdfMSService* Create();
    static void Release(PdfMSService* service);
    static int32_t EncryptPdf(PdfMSService* self, const PdfMSSource* source, const char* outputPath,
                              const PdfMSEncryptParams* params, void* userData,
                              PdfMSProgressFn progress);
    static int32_t GetPageCount(const char* path);
    static int32_t GetOpenState(const char* path);
    static int32_t IsEncrypted(const char* path);
    static int32_t Lookup(const std::map<std::string, int32_t>& table, const std::string& key,
                          int32_t fallback);

    std::mutex m_mutex;
    std::vector<FakeEncryptCall> m_calls;
    std::vector<std::string> m_probed;
    PdfMSService m_service;
};
