#include "engine/PdfEngine.h"

#include "engine/HostPool.h"
#include "engine/api/HostProtocol.h"
#include "engine/PathCheck.h"
#include "engine/ProbeCache.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_settingsMutex;
std::string g_hostProgram;
HostLimits g_limits;

ProbeCache& Cache() {
    static ProbeCache cache(256);
    return cache;
}

std::string DefaultHostProgram() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "pdfzerovovor-engine";
    std::string exe(buf, static_cast<size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1) + "pdfzerovovor-engine";
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

std::string TempPathFor(const std::string& output) {
    static std::atomic<unsigned> counter{0};
    size_t slash = output.rfind('/');
    std::string dir = slash == std::string::npos ? "" : output.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? output : output.substr(slash + 1);
    // Hidden, so folder scans never pick up a file being written.
    return dir + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
           ".pztmp";
}

// False when no host could be started: an answer not worth remembering.
bool AskHost(const std::string& path, int64_t size, ProbeResult& result) {
    result = ProbeResult(); // state 5 unless the host answers
    HostLease host = HostPool::Get().Acquire();
    if (!host)
        return false;
    HostProtocol::ProbeRequest request;
    request.path = path;
    request.timeLimitMs = TimeLimitMs(size);
    HostChannel::Message message;
    auto outcome = host->Call(HostProtocol::Encode(request), HostProtocol::Kind::Probe,
                              request.timeLimitMs, message);
    HostProtocol::ProbeReply reply;
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
    int32_t early = PathCheck::Classify(path, info);
    if (early >= 0) {
        result.openState = early;
        return result;
    }
    if (Cache().Find(path, info, result))
        return result;
    if (AskHost(path, info.size, result))
        Cache().Store(path, info, result);
    return result;
}

int32_t PdfEngine::Encrypt(const PdfMSSource* source, const char* outputPath,
                           const PdfMSEncryptParams* params, void* userData,
                           PdfMSProgressFn progress) {
    if (!source || !source->path || !outputPath || !*outputPath || !params)
        return PDFMS_ERR_ARGUMENT;
    if (params->level < PDFMS_LEVEL_RC4_40 || params->level > PDFMS_LEVEL_AES_256 ||
        params->printing < PDFMS_PRINT_NONE || params->printing > PDFMS_PRINT_LOW)
        return PDFMS_ERR_ARGUMENT;
    const std::string src = source->path;
    const std::string out = outputPath;

    PathInfo info;
    if (PathCheck::Classify(src, info) >= 0)
        return PDFMS_ERR_SOURCE;
    struct stat dirSt;
    if (::stat(DirName(out).c_str(), &dirSt) != 0 || !S_ISDIR(dirSt.st_mode))
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

    HostLease host = HostPool::Get().Acquire();
    if (!host)
        return PDFMS_ERR_HOST;
    HostProtocol::EncryptRequest request;
    request.source = src;
    request.temp = TempPathFor(out);
    request.timeLimitMs = 2 * TimeLimitMs(info.size);
    request.level = params->level;
    request.user = params->userPassword ? params->userPassword : "";
    request.owner = params->ownerPassword ? params->ownerPassword : "";
    request.printing = params->printing;
    request.copy = params->copy != 0;
    request.modify = params->modify != 0;
    request.annotate = params->annotate != 0;
    request.forms = params->fillForms != 0;
    request.accessibility = params->accessibility != 0;
    request.assemble = params->assemble != 0;
    const std::string temp = request.temp;

    HostChannel::Message message;
    auto outcome = host->Call(
        HostProtocol::Encode(request), HostProtocol::Kind::Encrypt, request.timeLimitMs, message,
        [&](int percent) { ask(percent); }, [&] { return stopped ? false : ask(lastPercent); });

    int32_t code = PDFMS_ERR_HOST;
    HostProtocol::EncryptReply reply;
    if (outcome == EngineHost::Outcome::Stopped)
        code = PDFMS_ERR_STOPPED;
    else if (outcome == EngineHost::Outcome::Replied && HostProtocol::Decode(message, reply))
        code = reply.code;
    else if (outcome == EngineHost::Outcome::Replied)
        host->Kill(); // a garbled reply: nothing it wrote is to be trusted
    if (code == PDFMS_OK && ::rename(temp.c_str(), out.c_str()) != 0)
        code = PDFMS_ERR_OUTPUT;
    if (code != PDFMS_OK)
        ::unlink(temp.c_str());
    else if (progress)
        progress(userData, 100, 100);
    return code;
}
