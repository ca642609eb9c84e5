#include "engine/EngineHost.h"

#include "engine/api/HostProtocol.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// The fd number the host finds its end of the socket under.
constexpr int kChildFd = 3;
// A host that has not said hello by then is not going to.
constexpr int kHelloTimeoutMs = 10000;

void Reap(pid_t pid) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

std::unique_ptr<EngineHost> EngineHost::Start(const std::string& program, unsigned long memoryMb,
                                              unsigned long stackMb) {
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        return nullptr;
    // dup2 onto the same number would keep close-on-exec, so move the child's end
    // well above kChildFd first.
    int childEnd = ::fcntl(sv[1], F_DUPFD_CLOEXEC, 10);
    ::close(sv[1]);
    if (childEnd < 0) {
        ::close(sv[0]);
        return nullptr;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The host has no business with our terminal or standard streams; what a dying
    // host would print (an abort message) means nothing to the user.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, childEnd, kChildFd);

    std::string fdArg = "--channel-fd=" + std::to_string(kChildFd);
    std::string memArg = "--memory-mb=" + std::to_string(memoryMb);
    std::string stackArg = "--stack-mb=" + std::to_string(stackMb);
    char* argv[] = {const_cast<char*>(program.c_str()), fdArg.data(), memArg.data(),
                    stackArg.data(), nullptr};
    // A group of its own: Ctrl-C in a terminal reaches the program, which stops the
    // host itself, instead of killing the host under it as a crash.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    int rc = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(childEnd);
    if (rc != 0) {
        ::close(sv[0]);
        return nullptr;
    }
    std::unique_ptr<EngineHost> host(new EngineHost(pid, sv[0]));
    HostChannel::Message hello;
    HostProtocol::Hello version;
    if (host->m_channel.Receive(hello, kHelloTimeoutMs) != HostChannel::ReadResult::Ok ||
        !HostProtocol::Decode(hello, version) || version.version != HostProtocol::kVersion) {
        host->Kill();
        return nullptr;
    }
    return host;
}

EngineHost::~EngineHost() {
    if (m_pid > 0) {
        // Closing the socket ends an idle host; give it a moment, then make sure.
        ::shutdown(m_channel.fd(), SHUT_RDWR);
        for (int i = 0; i < 50; ++i) {
            pid_t r = ::waitpid(m_pid, nullptr, WNOHANG);
            if (r == m_pid || (r < 0 && errno == ECHILD)) {
                m_pid = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (m_pid > 0)
            Kill();
    }
    ::close(m_channel.fd());
}

void EngineHost::Kill() {
    pid_t pid = m_pid.exchange(-1);
    if (pid <= 0)
        return;
    ::kill(pid, SIGKILL);
    Reap(pid);
}

EngineHost::Outcome EngineHost::Call(const HostChannel::Message& request,
                                     const std::vector<int>& descriptors,
                                     HostProtocol::Kind replyKind, int64_t timeLimitMs,
                                     HostChannel::Message& reply,
                                     const std::function<void(int)>& onProgress,
                                     const std::function<bool()>& onTick, int tickMs) {
    if (m_pid <= 0)
        return Outcome::Died;
    if (!m_channel.Send(request, descriptors)) {
        Kill();
        return Outcome::Died;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs);
    for (;;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            Kill();
            return Outcome::TimedOut;
        }
        int wait = static_cast<int>(left);
        if (onTick && wait > tickMs)
            wait = tickMs;
        HostChannel::Message msg;
        HostChannel::ReadResult r = m_channel.Receive(msg, wait);
        if (r == HostChannel::ReadResult::Closed) {
            Kill();
            return Outcome::Died;
        }
        if (r == HostChannel::ReadResult::Ok) {
            const HostProtocol::Kind kind = HostProtocol::KindOf(msg);
            if (kind == replyKind) {
                reply.swap(msg);
                return Outcome::Replied;
            }
            HostProtocol::Progress progress;
            if (kind != HostProtocol::Kind::Progress || !onProgress ||
                !HostProtocol::Decode(msg, progress)) {
                // "fatal", a garbled message, progress where none is due or a reply
                // to another request: this host is finished.
                Kill();
                return Outcome::Died;
            }
            onProgress(progress.percent);
        }
        if (onTick && !onTick()) {
            Kill();
            return Outcome::Stopped;
        }
    }
}
