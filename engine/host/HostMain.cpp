// pdfzerovovor-engine: runs the qpdf work of the engine library in its own process,
// so a hostile file can crash or exhaust only this process. Started by the library
// with --channel-fd=N (a socket), --memory-mb and --stack-mb. Once it has said
// hello it runs under a seccomp filter (HostSandbox) and gets its files as
// descriptors with each request.

#include "engine/api/EngineService.h"
#include "engine/api/HostChannel.h"
#include "engine/api/HostProtocol.h"
#include "engine/host/HangupWatch.h"
#include "engine/host/HostSandbox.h"
#include "engine/host/PdfWorker.h"
#include "engine/api/WipeSecret.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

struct HostArgs {
    int fd = -1;
    unsigned long memoryMb = 2048;
    unsigned long stackMb = 512;
};

bool ParseArgs(int argc, char** argv, HostArgs& args) {
    constexpr int64_t kMaxMb = int64_t(1) << 20;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](const std::string& name, int64_t min, int64_t max, int64_t& out) {
            return a.compare(0, name.size(), name) == 0 &&
                   HostProtocol::ParseNumber(a.substr(name.size()), min, max, out);
        };
        int64_t fd = -1, memoryMb = 0, stackMb = 0;
        // Above the standard streams, which are replaced below.
        if (value("--channel-fd=", 3, 1 << 20, fd))
            args.fd = static_cast<int>(fd);
        else if (value("--memory-mb=", 1, kMaxMb, memoryMb))
            args.memoryMb = static_cast<unsigned long>(memoryMb);
        else if (value("--stack-mb=", 1, kMaxMb, stackMb))
            args.stackMb = static_cast<unsigned long>(stackMb);
        else
            return false;
    }
    return args.fd >= 0;
}

void ArmGuard(int64_t timeLimitMs) {
    const int64_t seconds = (timeLimitMs + 999) / 1000;
    ::alarm(static_cast<unsigned>(seconds) + HostProtocol::kHostGraceSeconds);
}

#ifdef PZ_HOST_TEST_HOOKS
// Test builds only (pz-test-engine): a path this host opens before it answers a
// request, to prove the filter ends it. The shipped host has no such switch.
const char* g_openOnRequest = nullptr;
#endif

EncryptRequest ToWorkerRequest(const HostProtocol::EncryptRequest& m) {
    EncryptRequest r;
    r.source = m.source;
    r.temp = m.temp;
    r.level = m.level;
    r.user = m.user;
    r.owner = m.owner;
    r.printing = m.printing;
    r.copy = m.copy;
    r.modify = m.modify;
    r.annotate = m.annotate;
    r.forms = m.forms;
    r.accessibility = m.accessibility;
    r.assemble = m.assemble;
    r.sourcePassword = m.sourcePassword;
    r.decrypt = m.decrypt;
    return r;
}

// False when the peer is confused: end and let the library start a fresh host.
bool Answer(HostChannel& channel, PdfWorker& worker, const HostChannel::Message& message,
            const std::vector<int>& files) {
    HostProtocol::ProbeRequest probe;
    HostProtocol::UnlockRequest unlock;
    HostProtocol::EncryptRequest encrypt;
#ifdef PZ_HOST_TEST_HOOKS
    // Under the filter this never returns; without it the request is answered.
    if (g_openOnRequest) {
        const int fd = ::open(g_openOnRequest, O_RDONLY | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    }
#endif
    if (HostProtocol::Decode(message, files, probe)) {
        ArmGuard(probe.timeLimitMs);
        ProbeAnswer a = worker.Probe(probe.source);
        ::alarm(0);
        HostProtocol::ProbeReply reply;
        reply.openState = a.openState;
        reply.encrypted = a.encrypted;
        reply.pageCount = a.pageCount;
        return channel.Send(HostProtocol::Encode(reply));
    }
    if (HostProtocol::Decode(message, files, unlock)) {
        ArmGuard(unlock.timeLimitMs);
        HostProtocol::UnlockReply reply;
        reply.code = worker.Unlock(unlock.source, unlock.password, reply.pageCount);
        WipeSecret(unlock.password);
        ::alarm(0);
        return channel.Send(HostProtocol::Encode(reply));
    }
    if (HostProtocol::Decode(message, files, encrypt)) {
        ArmGuard(encrypt.timeLimitMs);
        int last = -1;
        std::function<void(int)> progress = [&](int percent) {
            if (percent != last && percent >= 0 && percent <= 100) {
                last = percent;
                channel.Send(HostProtocol::Encode(HostProtocol::Progress{percent}));
            }
        };
        HangupWatch::SetCurrentTemp(encrypt.temp);
        HostProtocol::EncryptReply reply;
        EncryptRequest request = ToWorkerRequest(encrypt);
        WipeSecret(encrypt.user);
        WipeSecret(encrypt.owner);
        WipeSecret(encrypt.sourcePassword);
        const EncryptResult result = worker.Encrypt(request, progress);
        reply.code = result.code;
        WipeSecret(request.user);
        WipeSecret(request.owner);
        WipeSecret(request.sourcePassword);
        reply.writer = result.writer == WriterUsed::OnePass ? HostProtocol::Writer::OnePass
                       : result.writer == WriterUsed::Qpdf  ? HostProtocol::Writer::Qpdf
                                                            : HostProtocol::Writer::None;
        reply.reason = result.reason;
        ::alarm(0);
        HangupWatch::SetCurrentTemp(-1);
        const bool sent = channel.Send(HostProtocol::Encode(reply));
        worker.Tidy(); // while the library renames the output
        return sent;
    }
    return false;
}

void CloseAll(std::vector<int>& fds) {
    for (int fd : fds)
        ::close(fd);
    fds.clear();
}

void Serve(HostChannel& channel) {
    if (!channel.Send(HostProtocol::Encode(HostProtocol::Hello{})))
        return;
    PdfWorker worker;
    // From here on only what the work needs on the descriptors it is given.
    if (!HostSandbox::Install(channel.fd())) {
        channel.Send(HostProtocol::Encode(HostProtocol::Fatal{"no sandbox"}));
        return;
    }
    HostChannel::Message request;
    std::vector<int> files;
    while (channel.Receive(request, -1, &files) == HostChannel::ReadResult::Ok) {
        try {
            const bool answered = Answer(channel, worker, request, files);
            WipeSecret(request);
            CloseAll(files);
            if (!answered)
                return;
        } catch (const std::bad_alloc&) {
            // Past the memory cap qpdf's state is not to be trusted: report and leave.
            channel.Send(HostProtocol::Encode(HostProtocol::Fatal{"out of memory"}));
            return;
        }
    }
}

struct ThreadArgs {
    int fd;
};

// What the starting program left open without close-on-exec is none of the
// host's business: only the channel stays.
void CloseInherited(int channel) {
    const unsigned below = static_cast<unsigned>(channel) - 1;
    if ((channel == 3 || ::close_range(3, below, 0) == 0) &&
        ::close_range(static_cast<unsigned>(channel) + 1, ~0u, 0) == 0)
        return;
    const long open = ::sysconf(_SC_OPEN_MAX);
    for (int fd = 3; fd < open; ++fd)
        if (fd != channel)
            ::close(fd);
}

// Standard streams lead nowhere: a socket whose other end is closed, so nothing
// written to them (an abort message) lands in a file, and a descriptor this host
// receives never takes their numbers.
void DetachStandardStreams() {
    ::signal(SIGPIPE, SIG_IGN);
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        return;
    ::close(sv[1]);
    for (int fd = 0; fd <= 2; ++fd)
        ::dup2(sv[0], fd);
    ::close(sv[0]);
}

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
    CloseInherited(args.fd);
    DetachStandardStreams();
#ifdef PZ_HOST_TEST_HOOKS
    g_openOnRequest = std::getenv("PZ_TEST_OPEN_ON_REQUEST");
#endif
    // This is the process meant to crash on hostile files, and it holds passwords:
    // no core file, and nobody else may read its memory.
    struct rlimit noCore = {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif

    // The stack is reserved inside the cap, so the heap keeps the whole memory budget.
    const rlim_t stack = static_cast<rlim_t>(args.stackMb) << 20;
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    // (Sanitizer builds reserve terabytes of shadow address space: no cap there.)
    const rlim_t cap = (static_cast<rlim_t>(args.memoryMb) << 20) + stack;
    struct rlimit as = {cap, cap};
    ::setrlimit(RLIMIT_AS, &as);
#endif

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
    HangupWatch::Run(args.fd); // ends the process, as does the end of ServeThread
}
