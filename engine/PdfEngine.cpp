#include "engine/PdfEngine.h"

#include "engine/HostPool.h"
#include "engine/HostProtocol.h"
#include "engine/PathCheck.h"
#include "engine/ProbeCache.h"

#include <atomic>
#include <cerrno>
#include <climits>
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

// Beside the running program in the build's staged tree; installed, programs are in
// bin/ and the host in libexec/pdfzerovovor/ below the same prefix.
std::string DefaultHostProgram() {
    const std::string name = "pdfzerovovor-engine";
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return name;
    const std::string exe(buf, static_cast<size_t>(n));
    const std::string dir = exe.substr(0, exe.rfind('/'));
    const std::string beside = dir + "/" + name;
    if (::access(beside.c_str(), X_OK) == 0)
        return beside;
    const std::string prefix = dir.substr(0, dir.rfind('/'));
    const std::string installed = prefix + "/libexec/pdfzerovovor/" + name;
    // Neither there: name the staged place, so the failure names a real path.
    return ::access(installed.c_str(), X_OK) == 0 ? installed : beside;
}

double TimeLimit(int64_t size) {
    HostLimits l = PdfEngine::GetHostLimits();
    return l.baseSeconds + l.secondsPerMb * static_cast<double>(size) / (1024.0 * 1024.0);
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
    std::unique_ptr<EngineHost> host = HostPool::Get().Acquire();
    if (!host)
        return false;
    HostChannel::Message reply;
    double limit = TimeLimit(size);
    auto outcome = host->Call({HostProtocol::kProbe, path, std::to_string(limit)},
                              HostProtocol::kProbe, limit, reply);
    HostPool::Get().Release(std::move(host));
    if (outcome == EngineHost::Outcome::Replied && reply.size() == 4) {
        result.openState = std::atoi(reply[1].c_str());
        result.encrypted = std::atoi(reply[2].c_str());
        result.pageCount = std::atoi(reply[3].c_str());
    }
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
    if (params->level < PDFMS_LEVEL_RC4_40 || params->level > PDFMS_LEVEL_AES_256)
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

    std::unique_ptr<EngineHost> host = HostPool::Get().Acquire();
    if (!host)
        return PDFMS_ERR_HOST;
    const std::string temp = TempPathFor(out);
    const double limit = 2 * TimeLimit(info.size);
    auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    HostChannel::Message request = {HostProtocol::kEncrypt,
                                    src,
                                    temp,
                                    std::to_string(limit),
                                    std::to_string(params->level),
                                    params->userPassword ? params->userPassword : "",
                                    params->ownerPassword ? params->ownerPassword : "",
                                    std::to_string(params->printing),
                                    flag(params->copy),
                                    flag(params->modify),
                                    flag(params->annotate),
                                    flag(params->fillForms),
                                    flag(params->accessibility),
                                    flag(params->assemble)};
    HostChannel::Message reply;
    auto outcome = host->Call(
        request, HostProtocol::kEncrypt, limit, reply, [&](int percent) { ask(percent); },
        [&] { return stopped ? false : ask(lastPercent); });
    HostPool::Get().Release(std::move(host));

    int32_t code = PDFMS_ERR_HOST;
    if (outcome == EngineHost::Outcome::Stopped)
        code = PDFMS_ERR_STOPPED;
    else if (outcome == EngineHost::Outcome::Replied && reply.size() == 2)
        code = std::atoi(reply[1].c_str());
    if (code == PDFMS_OK && ::rename(temp.c_str(), out.c_str()) != 0)
        code = PDFMS_ERR_OUTPUT;
    if (code != PDFMS_OK)
        ::unlink(temp.c_str());
    else if (progress)
        progress(userData, 100, 100);
    return code;
}
