#include "FakeEngine.h"

#include "batch/PdfEngineFactory.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace {
FakeEngine* g_current = nullptr;

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

FakeEngine::FakeEngine() {
    std::memset(&m_service, 0, sizeof m_service);
    m_service.EncryptPdf = EncryptPdf;
    m_service.GetPageCount = GetPageCount;
    m_service.GetOpenState = GetOpenState;
    m_service.IsEncrypted = IsEncrypted;
    m_service.engine = this;
}

FakeEngine::~FakeEngine() {
    if (g_current == this)
        Uninstall();
}

void FakeEngine::Install() {
    g_current = this;
    PdfEngineFactory factory;
    factory.create = Create;
    factory.release = Release;
    SetPdfEngineFactory(factory);
}

void FakeEngine::Uninstall() {
    g_current = nullptr;
    SetPdfEngineFactory(PdfEngineFactory());
}

std::vector<FakeEncryptCall> FakeEngine::Calls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

std::vector<std::string> FakeEngine::ProbedPaths() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_probed;
}

PdfMSService* FakeEngine::Create() {
    FakeEngine* engine = g_current;
    if (!engine)
        return nullptr;
    std::lock_guard<std::mutex> lock(engine->m_mutex);
    ++engine->created;
    return &engine->m_service;
}

void FakeEngine::Release(PdfMSService* service) {
    FakeEngine* engine = static_cast<FakeEngine*>(service->engine);
    std::lock_guard<std::mutex> lock(engine->m_mutex);
    ++engine->released;
}

int32_t FakeEngine::Lookup(const std::map<std::string, int32_t>& table, const std::string& key,
                           int32_t fallback) {
    auto it = table.find(key);
    return it == table.end() ? fallback : it->second;
}

int32_t FakeEngine::EncryptPdf(PdfMSService* self, const PdfMSSource* source,
                               const char* outputPath, const PdfMSEncryptParams* params,
                               void* userData, PdfMSProgressFn progress) {
    FakeEngine* engine = static_cast<FakeEngine*>(self->engine);
    const std::string sourcePath = source->path;
    {
        std::lock_guard<std::mutex> lock(engine->m_mutex);
        FakeEncryptCall call;
        call.source = sourcePath;
        call.output = outputPath;
        call.userPassword = params->userPassword;
        call.ownerPassword = params->ownerPassword;
        engine->m_calls.push_back(call);
    }
    if (BaseName(sourcePath) == engine->blockingName) {
        engine->blockingEntered = true;
        // Gives up after ten seconds so a broken stop fails the test instead of hanging.
        for (int i = 0; i < 1000; ++i) {
            if (progress(userData, 50, 100) == PDFMS_PROGRESS_STOP)
                return PDFMS_ERR_STOPPED;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return PDFMS_OK;
    }
    return Lookup(engine->encryptResult, BaseName(sourcePath), PDFMS_OK);
}

int32_t FakeEngine::GetPageCount(const char* path) {
    FakeEngine* engine = g_current;
    std::lock_guard<std::mutex> lock(engine->m_mutex);
    engine->m_probed.push_back(std::string("pages:") + path);
    return Lookup(engine->pageCount, path, 0);
}

int32_t FakeEngine::GetOpenState(const char* path) {
    FakeEngine* engine = g_current;
    std::lock_guard<std::mutex> lock(engine->m_mutex);
    engine->m_probed.push_back(std::string("open:") + path);
    return Lookup(engine->openState, path, PDFMS_OPEN_OK);
}

int32_t FakeEngine::IsEncrypted(const char* path) {
    FakeEngine* engine = g_current;
    std::lock_guard<std::mutex> lock(engine->m_mutex);
    engine->m_probed.push_back(std::string("encrypted:") + path);
    return Lookup(engine->encrypted, path, 0);
}
