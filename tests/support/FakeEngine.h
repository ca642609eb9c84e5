#pragma once
// The scripted stand-in for the PDF engine of the batch and window tests.
//
// Probes: a path's entry in the tables wins; otherwise the file decides (missing or
// not regular: not a file; no "%PDF-": not a PDF; kDamaged in it: damaged; kEncrypted
// in it: encrypted; two pages), and a path with no file and no entry opens cleanly.
// Source passwords: right only when sourcePasswords holds it for the path.
// Encryption: every call is recorded; a result given for the file's name is returned
// as it is; the file named blockingName reports progress until the run asks to stop;
// any other file is copied to its output in `steps` steps with a progress call after
// each, through a temporary file and a rename.

#include "engine/api/EngineService.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct FakeEncryptCall {
    std::string source;
    std::string output;
    std::string userPassword;
    std::string ownerPassword;
    std::string sourcePassword;
};

class FakeEngine {
public:
    static const char* const kDamaged;
    static const char* const kEncrypted;

    FakeEngine();
    ~FakeEngine();
    FakeEngine(const FakeEngine&) = delete;
    FakeEngine& operator=(const FakeEngine&) = delete;

    // Makes probes and runs use this engine from now on (and no engine at all).
    void Install();
    static void Uninstall();

    std::map<std::string, int32_t> openState; // by path
    std::map<std::string, int32_t> encrypted;
    std::map<std::string, int32_t> pageCount;
    std::map<std::string, int32_t> encryptResult; // by file name
    // By path: the password that opens an encrypted source (any other is wrong).
    std::map<std::string, std::string> sourcePasswords;
    std::string blockingName;
    std::atomic<bool> blockingEntered{false};

    // Copying takes steps x delay.
    void SetTiming(int steps, int stepDelayMs);
    std::vector<FakeEncryptCall> Calls();
    std::vector<std::string> ProbedPaths(); // "open:", "encrypted:", "pages:" + path
    int EncryptCalls();
    bool IsEncrypting() const { return m_encrypting > 0; }
    int created = 0;
    int released = 0;

private:
    class Service;

    static std::unique_ptr<EngineService> Create();
    int32_t EncryptPdf(const PdfMSSource* source, const char* outputPath,
                       const PdfMSEncryptParams* params, void* userData, PdfMSProgressFn progress);
    int32_t GetPageCount(const char* path);
    int32_t GetOpenState(const char* path);
    int32_t IsEncrypted(const char* path);
    int32_t CheckSourcePassword(const char* path, const char* password, int32_t* pageCount);
    int32_t Copy(const std::string& source, const std::string& output, void* userData,
                 PdfMSProgressFn progress);
    // The table's answer for path, or `fromFile` when there is none; records the call.
    int32_t Answer(const std::map<std::string, int32_t>& table, const char* kind, const char* path,
                   int32_t fromFile);

    std::mutex m_mutex;
    std::vector<FakeEncryptCall> m_calls;
    std::vector<std::string> m_probed;
    std::atomic<int> m_steps{4};
    std::atomic<int> m_stepDelayMs{5};
    std::atomic<int> m_encrypting{0};
};
