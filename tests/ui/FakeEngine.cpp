#include "FakeEngine.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

const char* const FakeEngine::kDamaged = "%%FAKE-DAMAGED";
const char* const FakeEngine::kEncrypted = "/Encrypt";

namespace {
std::atomic<int> g_steps{4};
std::atomic<int> g_stepDelayMs{5};
std::atomic<int> g_encryptCalls{0};
std::atomic<bool> g_encrypting{false};

bool ReadFile(const char* path, std::string& data) {
    struct stat info;
    if (!path || ::stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream out;
    out << in.rdbuf();
    data = out.str();
    return true;
}

int32_t GetOpenState(const char* path) {
    std::string data;
    if (!ReadFile(path, data))
        return PDFMS_OPEN_NOT_FILE;
    if (data.substr(0, 1024).find("%PDF-") == std::string::npos)
        return PDFMS_OPEN_NOT_PDF;
    if (data.find(FakeEngine::kDamaged) != std::string::npos)
        return PDFMS_OPEN_DAMAGED;
    return PDFMS_OPEN_OK;
}

int32_t IsEncrypted(const char* path) {
    std::string data;
    return ReadFile(path, data) && data.find(FakeEngine::kEncrypted) != std::string::npos;
}

int32_t GetPageCount(const char* path) {
    std::string data;
    return ReadFile(path, data) ? 2 : 0;
}

struct EncryptingMark {
    EncryptingMark() { g_encrypting = true; }
    ~EncryptingMark() { g_encrypting = false; }
};

int32_t EncryptPdf(PdfMSService*, const PdfMSSource* source, const char* outputPath,
                   const PdfMSEncryptParams* params, void* userData, PdfMSProgressFn progress) {
    ++g_encryptCalls;
    if (!source || !outputPath || !params)
        return PDFMS_ERR_ARGUMENT;
    std::string data;
    if (!ReadFile(source->path, data))
        return PDFMS_ERR_SOURCE;
    const std::string temporary = std::string(outputPath) + ".part";
    {
        std::ofstream out(temporary, std::ios::binary);
        if (!out)
            return PDFMS_ERR_OUTPUT;
        out << data;
    }
    EncryptingMark mark;
    const int steps = g_steps;
    for (int step = 1; step <= steps; ++step) {
        std::this_thread::sleep_for(std::chrono::milliseconds(g_stepDelayMs));
        if (progress && progress(userData, step, steps) == PDFMS_PROGRESS_STOP) {
            std::remove(temporary.c_str());
            return PDFMS_ERR_STOPPED;
        }
    }
    if (std::rename(temporary.c_str(), outputPath) != 0) {
        std::remove(temporary.c_str());
        return PDFMS_ERR_OUTPUT;
    }
    return PDFMS_OK;
}

PdfMSService* Create() {
    auto* service = new PdfMSService{};
    service->EncryptPdf = EncryptPdf;
    service->GetPageCount = GetPageCount;
    service->GetOpenState = GetOpenState;
    service->IsEncrypted = IsEncrypted;
    return service;
}

void Release(PdfMSService* service) {
    delete service;
}
} // namespace

void FakeEngine::Install() {
    g_encryptCalls = 0;
    PdfEngineFactory factory;
    factory.create = Create;
    factory.release = Release;
    SetPdfEngineFactory(factory);
}

void FakeEngine::SetTiming(int steps, int stepDelayMs) {
    g_steps = steps;
    g_stepDelayMs = stepDelayMs;
}

int FakeEngine::EncryptCalls() {
    return g_encryptCalls;
}

bool FakeEngine::IsEncrypting() {
    return g_encrypting;
}
