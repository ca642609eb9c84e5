#include "FakeEngine.h"

#include "batch/PdfEngineFactory.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

const char* const FakeEngine::kDamaged = "%%FAKE-DAMAGED";
const char* const FakeEngine::kEncrypted = "/Encrypt";

namespace {
FakeEngine* g_current = nullptr;

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// False when path names no regular file.
bool ReadFile(const std::string& path, std::string& data) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    data = out.str();
    return true;
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}
} // namespace

// One service handed to the probe or the batch loop; its end counts as a release.
class FakeEngine::Service : public EngineService {
public:
    explicit Service(FakeEngine* engine) : m_engine(engine) {}
    ~Service() override {
        std::lock_guard<std::mutex> lock(m_engine->m_mutex);
        ++m_engine->released;
    }
    int32_t EncryptPdf(const PdfMSSource* source, const char* outputPath,
                       const PdfMSEncryptParams* params, void* userData,
                       PdfMSProgressFn progress) override {
        return m_engine->EncryptPdf(source, outputPath, params, userData, progress);
    }
    int32_t GetPageCount(const char* path) override { return m_engine->GetPageCount(path); }
    int32_t GetOpenState(const char* path) override { return m_engine->GetOpenState(path); }
    int32_t IsEncrypted(const char* path) override { return m_engine->IsEncrypted(path); }
    int32_t CheckSourcePassword(const char* path, const char* password,
                                int32_t* pageCount) override {
        return m_engine->CheckSourcePassword(path, password, pageCount);
    }

private:
    FakeEngine* m_engine;
};

FakeEngine::FakeEngine() = default;

FakeEngine::~FakeEngine() {
    if (g_current == this)
        Uninstall();
}

void FakeEngine::Install() {
    g_current = this;
    SetPdfEngineFactory(Create);
}

void FakeEngine::Uninstall() {
    g_current = nullptr;
    SetPdfEngineFactory(nullptr);
}

void FakeEngine::SetTiming(int steps, int stepDelayMs) {
    m_steps = steps;
    m_stepDelayMs = stepDelayMs;
}

std::vector<FakeEncryptCall> FakeEngine::Calls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

std::vector<std::string> FakeEngine::ProbedPaths() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_probed;
}

int FakeEngine::EncryptCalls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_calls.size());
}

std::unique_ptr<EngineService> FakeEngine::Create() {
    FakeEngine* engine = g_current;
    if (!engine)
        return nullptr;
    std::lock_guard<std::mutex> lock(engine->m_mutex);
    ++engine->created;
    return std::make_unique<Service>(engine);
}

int32_t FakeEngine::Answer(const std::map<std::string, int32_t>& table, const char* kind,
                           const char* path, int32_t fromFile) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_probed.push_back(std::string(kind) + path);
    auto it = table.find(path);
    return it == table.end() ? fromFile : it->second;
}

int32_t FakeEngine::GetOpenState(const char* path) {
    std::string data;
    int32_t state = PDFMS_OPEN_OK;
    if (!ReadFile(path, data))
        state = Exists(path) ? PDFMS_OPEN_NOT_FILE : PDFMS_OPEN_OK;
    else if (data.substr(0, 1024).find("%PDF-") == std::string::npos)
        state = PDFMS_OPEN_NOT_PDF;
    else if (data.find(kDamaged) != std::string::npos)
        state = PDFMS_OPEN_DAMAGED;
    return Answer(openState, "open:", path, state);
}

int32_t FakeEngine::IsEncrypted(const char* path) {
    std::string data;
    const int32_t locked = ReadFile(path, data) && data.find(kEncrypted) != std::string::npos;
    return Answer(encrypted, "encrypted:", path, locked);
}

int32_t FakeEngine::GetPageCount(const char* path) {
    std::string data;
    return Answer(pageCount, "pages:", path, ReadFile(path, data) ? 2 : 0);
}

int32_t FakeEngine::CheckSourcePassword(const char* path, const char* password,
                                        int32_t* pageCount) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_probed.push_back(std::string("password:") + path);
    auto it = sourcePasswords.find(path);
    const bool right = it != sourcePasswords.end() && password && it->second == password;
    if (pageCount)
        *pageCount = right ? 2 : 0;
    return right ? PDFMS_OK : PDFMS_ERR_SOURCE_PASSWORD;
}

int32_t FakeEngine::EncryptPdf(const PdfMSSource* source, const char* outputPath,
                               const PdfMSEncryptParams* params, void* userData,
                               PdfMSProgressFn progress) {
    const std::string sourcePath = source->path;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back({sourcePath, outputPath, params->userPassword, params->ownerPassword,
                           params->sourcePassword ? params->sourcePassword : ""});
    }
    if (BaseName(sourcePath) == blockingName) {
        blockingEntered = true;
        // Gives up after ten seconds so a broken stop fails the test instead of hanging.
        for (int i = 0; i < 1000; ++i) {
            if (progress(userData, 50, 100) == PDFMS_PROGRESS_STOP)
                return PDFMS_ERR_STOPPED;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return PDFMS_OK;
    }
    auto result = encryptResult.find(BaseName(sourcePath));
    if (result != encryptResult.end())
        return result->second;
    return Copy(sourcePath, outputPath, userData, progress);
}

int32_t FakeEngine::Copy(const std::string& source, const std::string& output, void* userData,
                         PdfMSProgressFn progress) {
    std::string data;
    if (!ReadFile(source, data))
        return PDFMS_ERR_SOURCE;
    const std::string temporary = output + ".part";
    {
        std::ofstream out(temporary, std::ios::binary);
        if (!out)
            return PDFMS_ERR_OUTPUT;
        out << data;
    }
    ++m_encrypting;
    const int steps = m_steps;
    int32_t code = PDFMS_OK;
    for (int step = 1; step <= steps && code == PDFMS_OK; ++step) {
        std::this_thread::sleep_for(std::chrono::milliseconds(m_stepDelayMs));
        if (progress && progress(userData, step, steps) == PDFMS_PROGRESS_STOP)
            code = PDFMS_ERR_STOPPED;
    }
    --m_encrypting;
    if (code == PDFMS_OK && std::rename(temporary.c_str(), output.c_str()) != 0)
        code = PDFMS_ERR_OUTPUT;
    if (code != PDFMS_OK)
        std::remove(temporary.c_str());
    return code;
}
