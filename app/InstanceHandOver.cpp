#include "app/InstanceHandOver.h"

#include "app/HandOverMessage.h"
#include "app/HandOverServer.h"
#include "core/PathText.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A second start may come while the first is still on its way up and has the
// lock but not yet its socket: try for a little while.
const int kConnectAttempts = 20;
const int kConnectPauseMs = 100;
// How long the window may take to read the files and say it has them.
const int kAnswerMs = 10000;

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for events on fd until the deadline; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, MsLeft(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0;
    }
}

// Sends the message and waits for the window's acknowledgement.
bool Exchange(int fd, const std::string& message) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kAnswerMs);
    size_t sent = 0;
    while (sent < message.size()) {
        const ssize_t n = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, deadline))
                return false;
        } else {
            return false;
        }
    }
    char answer = 0;
    for (;;) {
        if (!WaitFor(fd, POLLIN, deadline))
            return false;
        const ssize_t n = ::recv(fd, &answer, 1, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        return n == 1 && answer == 'K';
    }
}

} // namespace

InstanceHandOver::InstanceHandOver(const wxString& folder) : m_folder(folder) {}

InstanceHandOver::~InstanceHandOver() = default;

wxString InstanceHandOver::DefaultFolder() {
    wxString runtime;
    if (wxGetEnv("XDG_RUNTIME_DIR", &runtime) && wxFileName::DirExists(runtime))
        return runtime;
    return wxGetHomeDir();
}

wxString InstanceHandOver::GetLockName() const {
    // The host name keeps two machines that share a home folder apart.
    return ".pdfzerovovor-" + wxGetHostName() + ".lock";
}

wxString InstanceHandOver::GetSocketPath() const {
    return m_folder + "/.pdfzerovovor-" + wxGetHostName() + ".socket";
}

bool InstanceHandOver::AnotherHoldsTheLock() const {
    // Removing a stale lock is reported as a log message, which would become a box.
    wxLogNull quiet;
    wxSingleInstanceChecker checker;
    return checker.Create(GetLockName(), m_folder) && checker.IsAnotherRunning();
}

bool InstanceHandOver::Claim(const Receiver& receiver) {
    wxLogNull quiet;
    m_checker = std::make_unique<wxSingleInstanceChecker>();
    // A lock that cannot be made (unwritable folder) is no reason not to start.
    if (m_checker->Create(GetLockName(), m_folder) && m_checker->IsAnotherRunning()) {
        m_checker.reset();
        return false;
    }
    // A socket file left by a dead process is replaced. Without a socket the window
    // still runs; later starts then open their own.
    auto server = std::make_unique<HandOverServer>(receiver);
    if (server->Listen(PathText::ToBytes(GetSocketPath())))
        m_server = std::move(server);
    return true;
}

bool InstanceHandOver::HandOver(const wxArrayString& paths) const {
    const std::string message = HandOverMessage::Encode(paths);
    const std::string path = PathText::ToBytes(GetSocketPath());
    sockaddr_un address{};
    if (message.empty() || path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            const bool taken = Exchange(fd, message);
            ::close(fd);
            return taken;
        }
        ::close(fd);
        // Whoever held the lock is gone: nobody is left to take the files.
        if (!AnotherHoldsTheLock())
            return false;
        wxMilliSleep(kConnectPauseMs);
    }
    return false;
}
