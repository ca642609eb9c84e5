// pdfzerovovor-engine: runs the qpdf work of the engine library in its own process,
// so a hostile file can crash or exhaust only this process. Started by the library
// with --channel-fd=N (a socket), --memory-mb and --stack-mb.

#include "engine/api/PdfMSService.h"
#include "engine/HostChannel.h"
#include "engine/HostProtocol.h"
#include "engine/host/PdfWorker.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct HostArgs {
    int fd = -1;
    unsigned long memoryMb = 2048;
    unsigned long stackMb = 512;
};

bool ParseArgs(int argc, char** argv, HostArgs& args) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            size_t n = std::strlen(name);
            return a.compare(0, n, name) == 0 ? a.c_str() + n : nullptr;
        };
        if (const char* v = value("--channel-fd="))
            args.fd = std::atoi(v);
        else if (const char* v = value("--memory-mb="))
            args.memoryMb = std::strtoul(v, nullptr, 10);
        else if (const char* v = value("--stack-mb="))
            args.stackMb = std::strtoul(v, nullptr, 10);
        else
            return false;
    }
    return args.fd >= 0 && args.memoryMb > 0 && args.stackMb > 0;
}

void ArmGuard(const std::string& seconds) {
    double limit = std::atof(seconds.c_str());
    if (limit > 0)
        ::alarm(static_cast<unsigned>(std::ceil(limit)) + HostProtocol::kHostGraceSeconds);
}

// The temporary output being written, for the hang-up watcher to remove.
std::mutex g_tempMutex;
std::string g_currentTemp;

void SetCurrentTemp(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_tempMutex);
    g_currentTemp = path;
}

// A library process that dies (killed, crashed) cannot clean up after us: when its
// end of the socket goes away, remove the half-written output and leave at once
// instead of finishing a file nobody will rename.
void WatchForHangup(int fd) {
    for (;;) {
        struct pollfd p = {fd, POLLRDHUP, 0};
        int n = ::poll(&p, 1, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0)
            break;
    }
    std::lock_guard<std::mutex> lock(g_tempMutex);
    if (!g_currentTemp.empty())
        ::unlink(g_currentTemp.c_str());
    ::_exit(0);
}

bool Flag(const std::string& s) {
    return s == "1";
}

void Serve(HostChannel& channel) {
    PdfWorker worker;
    HostChannel::Message request;
    while (channel.Receive(request, -1) == HostChannel::ReadResult::Ok) {
        if (request.empty())
            return;
        try {
            if (request[0] == HostProtocol::kProbe && request.size() == 3) {
                ArmGuard(request[2]);
                ProbeAnswer a = worker.Probe(request[1]);
                ::alarm(0);
                channel.Send({HostProtocol::kProbe, std::to_string(a.openState),
                              std::to_string(a.encrypted), std::to_string(a.pageCount)});
            } else if (request[0] == HostProtocol::kEncrypt &&
                       request.size() == HostProtocol::kEncryptFields) {
                ArmGuard(request[3]);
                EncryptRequest r;
                r.source = request[1];
                r.temp = request[2];
                r.level = std::atoi(request[4].c_str());
                r.user = request[5];
                r.owner = request[6];
                r.printing = std::atoi(request[7].c_str());
                r.copy = Flag(request[8]);
                r.modify = Flag(request[9]);
                r.annotate = Flag(request[10]);
                r.forms = Flag(request[11]);
                r.accessibility = Flag(request[12]);
                r.assemble = Flag(request[13]);
                int last = -1;
                std::function<void(int)> progress = [&](int percent) {
                    if (percent != last) {
                        last = percent;
                        channel.Send({HostProtocol::kProgress, std::to_string(percent)});
                    }
                };
                SetCurrentTemp(r.temp);
                int32_t code = worker.Encrypt(r, progress).code;
                ::alarm(0);
                SetCurrentTemp(std::string());
                channel.Send({HostProtocol::kEncrypt, std::to_string(code)});
            } else {
                return; // a confused peer: end and let the library start a fresh host
            }
        } catch (const std::bad_alloc&) {
            // Past the memory cap qpdf's state is not to be trusted: report and leave.
            channel.Send({HostProtocol::kFatal, "out of memory"});
            return;
        }
    }
}

struct ThreadArgs {
    int fd;
};

void* ServeThread(void* p) {
    HostChannel channel(static_cast<ThreadArgs*>(p)->fd);
    Serve(channel);
    ::_exit(0);
}

} // namespace

int main(int argc, char** argv) {
    HostArgs args;
    if (!ParseArgs(argc, argv, args)) {
        std::fprintf(stderr, "pdfzerovovor-engine: started by the engine library only\n");
        return 2;
    }
    // A file-size limit must end in a write error we report, not in a killed host.
    ::signal(SIGXFSZ, SIG_IGN);

    // The stack is reserved inside the cap, so the heap keeps the whole memory budget.
    const rlim_t stack = static_cast<rlim_t>(args.stackMb) << 20;
    const rlim_t cap = (static_cast<rlim_t>(args.memoryMb) << 20) + stack;
    struct rlimit as = {cap, cap};
    ::setrlimit(RLIMIT_AS, &as);

    // qpdf walks object graphs by recursion; a big stack lets deep files finish
    // instead of overflowing.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, static_cast<size_t>(stack));
    ThreadArgs ta{args.fd};
    pthread_t thread;
    if (pthread_create(&thread, &attr, ServeThread, &ta) != 0) {
        // No room for the big stack: serve on the main thread rather than not at all.
        ServeThread(&ta);
        return 0;
    }
    WatchForHangup(args.fd); // ends the process, as does the end of ServeThread
    return 0;
}
