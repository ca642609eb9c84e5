#include "engine/PdfEngine.h"

#include "engine/HostPool.h"
#include "engine/OutputFile.h"
#include "engine/api/WipeSecret.h"
#include "engine/api/HostProtocol.h"
#include "engine/PathCheck.h"
#include "engine/ProbeCache.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_settingsMutex;
std::string g_hostProgram;
HostLimits g_limits;
int g_expectedHosts = 2;
// Raised by CancelProbes; a probe that sees it change gives up.
std::atomic<unsigned> g_probeGeneration{0};

// MemAvailable of /proc/meminfo in MB; 0 when it cannot be read.
unsigned long AvailableMemoryMb() {
    FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f)
        return 0;
    char line[256];
    const char* const key = "MemAvailable:";
    unsigned long kb = 0;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, std::strlen(key)) == 0) {
            kb = std::strtoul(line + std::strlen(key), nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return kb / 1024;
}

ProbeCache& Cache() {
    static ProbeCache cache(256);
    return cache;
}

// Beside the running program in the build's staged tree; installed, programs are in
// bin/ and the host in libexec/pdfzerovovor/ below the same prefix.
std::string DefaultHostProgram() {
    std::string name = "pdfzerovovor-engine";
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return name;
    const std::string exe(buf, static_cast<size_t>(n));
    const std::string dir = exe.substr(0, exe.rfind('/'));
    std::string beside = dir + "/" + name;
    if (::access(beside.c_str(), X_OK) == 0)
        return beside;
    const std::string prefix = dir.substr(0, dir.rfind('/'));
    const std::string installed = prefix + "/libexec/pdfzerovovor/" + name;
    // Neither there: name the staged place, so the failure names a real path.
    return ::access(installed.c_str(), X_OK) == 0 ? installed : beside;
}

int64_t TimeLimitMs(int64_t size) {
    HostLimits l = PdfEngine::GetHostLimits();
    const double seconds =
        l.baseSeconds + l.secondsPerMb * static_cast<double>(size) / (1024.0 * 1024.0);
    return static_cast<int64_t>(seconds * 1000);
}

std::string DirName(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// False when no host could be started: an answer not worth remembering.
bool AskHost(int source, int64_t size, ProbeResult& result) {
    result = ProbeResult(); // state 5 unless the host answers
    HostLease host = HostPool::Get().Acquire();
    if (!host)
        return false;
    HostProtocol::ProbeRequest request;
    request.source = source;
    request.timeLimitMs = TimeLimitMs(size);
    HostChannel::Message message;
    const unsigned generation = g_probeGeneration;
    auto outcome = host->Call(HostProtocol::Encode(request), HostProtocol::Descriptors(request),
                              HostProtocol::Kind::Probe, request.timeLimitMs, message, nullptr,
                              [generation] { return g_probeGeneration == generation; });
    HostProtocol::ProbeReply reply;
    if (outcome == EngineHost::Outcome::Stopped)
        return false; // cancelled: not an answer about the file
    if (outcome != EngineHost::Outcome::Replied)
        return true;
    if (!HostProtocol::Decode(message, reply)) {
        host->Kill();
        return true;
    }
    result.openState = reply.openState;
    result.encrypted = reply.encrypted;
    result.pageCount = reply.pageCount;
    return true;
}

} // namespace

void PdfEngine::SetHostProgram(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    g_hostProgram = path;
}

std::string PdfEngine::GetHostProgram() {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    if (g_hostProgram.empty())
        g_hostProgram = DefaultHostProgram();
    return g_hostProgram;
}

void PdfEngine::SetHostLimits(const HostLimits& limits) {
    {
        std::lock_guard<std::mutex> lock(g_settingsMutex);
        g_limits = limits;
    }
    HostPool::Get().Clear();
}

void PdfEngine::SetExpectedHosts(int hosts) {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    g_expectedHosts = hosts < 1 ? 1 : hosts;
}

unsigned long PdfEngine::HostMemoryMb() {
    // Below this a host cannot open an ordinary file; it is better to fail a big
    // one than to refuse every file.
    constexpr unsigned long kFloorMb = 128;
    HostLimits limits;
    int hosts = 1;
    {
        std::lock_guard<std::mutex> lock(g_settingsMutex);
        limits = g_limits;
        hosts = g_expectedHosts;
    }
    const unsigned long available = AvailableMemoryMb();
    if (available == 0)
        return limits.memoryMb;
    // Leave a quarter to the rest of the machine.
    const unsigned long share = available * 3 / 4 / static_cast<unsigned long>(hosts);
    return std::max(kFloorMb, std::min(limits.memoryMb, share));
}

void PdfEngine::CancelProbes() {
    ++g_probeGeneration;
}

HostLimits PdfEngine::GetHostLimits() {
    std::lock_guard<std::mutex> lock(g_settingsMutex);
    return g_limits;
}

std::vector<int> PdfEngine::GetBusyHostPids() {
    return HostPool::Get().BusyPids();
}

void PdfEngine::Reset() {
    HostPool::Get().Clear();
    Cache().Clear();
}

ProbeResult PdfEngine::Probe(const std::string& path) {
    ProbeResult result;
    PathInfo info;
    int source = -1;
    int32_t early = PathCheck::Classify(path, info, &source);
    if (early >= 0) {
        result.openState = early;
        return result;
    }
    if (!Cache().Find(path, info, result) && AskHost(source, info.size, result))
        Cache().Store(path, info, result);
    ::close(source);
    return result;
}

int32_t PdfEngine::CheckSourcePassword(const char* path, const char* password, int32_t* pageCount) {
    if (pageCount)
        *pageCount = 0;
    if (!path || !password || std::strlen(password) > 127)
        return PDFMS_ERR_ARGUMENT;
    PathInfo info;
    int source = -1;
    if (PathCheck::Classify(path, info, &source) >= 0)
        return PDFMS_ERR_SOURCE;
    HostLease host = HostPool::Get().Acquire();
    if (!host) {
        ::close(source);
        return PDFMS_ERR_HOST;
    }
    HostProtocol::UnlockRequest request;
    request.source = source;
    request.timeLimitMs = TimeLimitMs(info.size);
    request.password = password;
    HostChannel::Message sent = HostProtocol::Encode(request);
    WipeSecret(request.password);
    HostChannel::Message message;
    const auto outcome = host->Call(sent, HostProtocol::Descriptors(request),
                                    HostProtocol::Kind::Unlock, request.timeLimitMs, message);
    WipeSecret(sent);
    ::close(source);
    if (outcome != EngineHost::Outcome::Replied)
        return PDFMS_ERR_HOST;
    HostProtocol::UnlockReply reply;
    if (!HostProtocol::Decode(message, reply)) {
        host->Kill();
        return PDFMS_ERR_HOST;
    }
    if (pageCount)
        *pageCount = reply.pageCount;
    return reply.code;
}

namespace {

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The host's verdict on a file whose temporary output or folder vanished under it
// is about the output, not the PDF.
int32_t Blame(int32_t code, const std::string& outputFolder) {
    if (code != PDFMS_OK && code != PDFMS_ERR_STOPPED && !IsFolder(outputFolder))
        return PDFMS_ERR_OUTPUT;
    return code;
}

HostProtocol::EncryptRequest MakeRequest(int source, int temp, int64_t timeLimitMs,
                                         const PdfMSEncryptParams& p) {
    HostProtocol::EncryptRequest request;
    request.source = source;
    request.temp = temp;
    request.timeLimitMs = timeLimitMs;
    request.level = p.level;
    request.user = p.userPassword ? p.userPassword : "";
    request.owner = p.ownerPassword ? p.ownerPassword : "";
    request.printing = p.printing;
    request.copy = p.copy != 0;
    request.modify = p.modify != 0;
    request.annotate = p.annotate != 0;
    request.forms = p.fillForms != 0;
    request.accessibility = p.accessibility != 0;
    request.assemble = p.assemble != 0;
    request.sourcePassword = p.sourcePassword ? p.sourcePassword : "";
    request.decrypt = p.decrypt != 0;
    // An empty owner password is a working password at AES-256: it would open the
    // file with full rights. Every front end comes through here.
    if (request.owner.empty() && !request.decrypt)
        request.owner = request.user;
    return request;
}

// The source's descriptor, closed however Encrypt returns.
struct SourceDescriptor {
    explicit SourceDescriptor(int f) : fd(f) {}
    ~SourceDescriptor() { ::close(fd); }
    SourceDescriptor(const SourceDescriptor&) = delete;
    SourceDescriptor& operator=(const SourceDescriptor&) = delete;
    const int fd;
};

bool ValidParams(const PdfMSEncryptParams& p) {
    // Longer passwords would only be cut by the standard; the batch refuses them first.
    constexpr size_t kMaxPassword = 127;
    auto fits = [](const char* s) { return !s || std::strlen(s) <= kMaxPassword; };
    auto empty = [](const char* s) { return !s || !*s; };
    // Without any password the output would open with full rights for everyone.
    if (!p.decrypt && empty(p.userPassword) && empty(p.ownerPassword))
        return false;
    return p.level >= PDFMS_LEVEL_RC4_40 && p.level <= PDFMS_LEVEL_AES_256 &&
           p.printing >= PDFMS_PRINT_NONE && p.printing <= PDFMS_PRINT_LOW &&
           fits(p.userPassword) && fits(p.ownerPassword) && fits(p.sourcePassword);
}

} // namespace

int32_t PdfEngine::Encrypt(const PdfMSSource* source, const char* outputPath,
                           const PdfMSEncryptParams* params, void* userData,
                           PdfMSProgressFn progress) {
    if (!source || !source->path || !outputPath || !*outputPath || !params || !ValidParams(*params))
        return PDFMS_ERR_ARGUMENT;
    PdfMSOutcome* outcome = source->outcome;
    if (outcome) {
        outcome->writer = PDFMS_WRITER_NONE;
        outcome->tempLeft[0] = '\0';
        outcome->reason[0] = '\0';
    }
    const std::string src = source->path;
    const std::string out = outputPath;
    const std::string folder = DirName(out);

    PathInfo info;
    int held = -1;
    if (PathCheck::Classify(src, info, &held) >= 0)
        return PDFMS_ERR_SOURCE;
    const SourceDescriptor sourceFd(held);
    if (!IsFolder(folder))
        return PDFMS_ERR_OUTPUT;
    // Renaming over the source would destroy it.
    struct stat outSt;
    if (::stat(out.c_str(), &outSt) == 0 && outSt.st_dev == info.dev && outSt.st_ino == info.ino)
        return PDFMS_ERR_OUTPUT;

    int lastPercent = 0;
    bool stopped = false;
    auto ask = [&](int percent) {
        lastPercent = percent;
        if (progress && progress(userData, percent, 100) == PDFMS_PROGRESS_STOP)
            stopped = true;
        return !stopped;
    };
    if (!ask(0))
        return PDFMS_ERR_STOPPED;

    OutputFile::SweepStale(folder);
    HostLease host = HostPool::Get().Acquire();
    if (!host)
        return PDFMS_ERR_HOST;
    OutputFile temp(out, info.mode);
    if (temp.empty())
        return PDFMS_ERR_OUTPUT;
    HostProtocol::EncryptRequest request =
        MakeRequest(sourceFd.fd, temp.fd(), 2 * TimeLimitMs(info.size), *params);
    HostChannel::Message sent = HostProtocol::Encode(request);
    WipeSecret(request.user);
    WipeSecret(request.owner);
    WipeSecret(request.sourcePassword);
    HostChannel::Message message;
    auto outcomeOfCall = host->Call(
        sent, HostProtocol::Descriptors(request), HostProtocol::Kind::Encrypt, request.timeLimitMs,
        message, [&](int percent) { ask(percent); },
        [&] { return stopped ? false : ask(lastPercent); });
    WipeSecret(sent);

    int32_t code = PDFMS_ERR_HOST;
    HostProtocol::EncryptReply reply;
    if (outcomeOfCall == EngineHost::Outcome::Stopped)
        code = PDFMS_ERR_STOPPED;
    else if (outcomeOfCall == EngineHost::Outcome::Replied && HostProtocol::Decode(message, reply))
        code = reply.code;
    else if (outcomeOfCall == EngineHost::Outcome::Replied)
        host->Kill(); // a garbled reply: nothing it wrote is to be trusted
    code = Blame(code, folder);
    // The host read the file it was given; the path must still name that file.
    struct stat now;
    if (code == PDFMS_OK &&
        (::stat(src.c_str(), &now) != 0 || now.st_dev != info.dev || now.st_ino != info.ino))
        code = PDFMS_ERR_SOURCE_CHANGED;

    if (code == PDFMS_OK) {
        const uint64_t sourceDev = info.dev, sourceIno = info.ino;
        switch (temp.Rename([&](uint64_t dev, uint64_t ino) {
            if (dev == sourceDev && ino == sourceIno)
                return false;
            return !source->mayReplace || source->mayReplace(source->replaceData, dev, ino) != 0;
        })) {
        case OutputFile::Commit::Done:
            break;
        case OutputFile::Commit::Refused:
            code = PDFMS_ERR_OUTPUT_EXISTS;
            break;
        case OutputFile::Commit::Failed:
            code = PDFMS_ERR_OUTPUT;
            break;
        }
    }
    if (code != PDFMS_OK) {
        temp.Discard();
        if (temp.left() && outcome)
            std::snprintf(outcome->tempLeft, sizeof outcome->tempLeft, "%s", temp.temp().c_str());
        return code;
    }
    if (outcome) {
        outcome->writer = static_cast<int32_t>(reply.writer);
        std::snprintf(outcome->reason, sizeof outcome->reason, "%s", reply.reason.c_str());
    }
    if (progress)
        progress(userData, 100, 100);
    return code;
}
