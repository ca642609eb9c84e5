#include "app/HandOverServer.h"

#include "app/HandOverMessage.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kSweepMs = 500;
} // namespace

// Calls back when its descriptor has something to read (or hung up).
class HandOverServer::Watch : public wxEventLoopSourceHandler {
public:
    explicit Watch(std::function<void()> onReadable) : m_onReadable(std::move(onReadable)) {}
    void OnReadWaiting() override { Fire(); }
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override { Fire(); }
    // A dropped client's watch may still be called by the same dispatch.
    void Disarm() { m_onReadable = nullptr; }

private:
    void Fire() {
        if (m_onReadable)
            m_onReadable();
    }
    std::function<void()> m_onReadable;
};

struct HandOverServer::Client {
    int fd = -1;
    Clock::time_point deadline;
    std::string received;
    uint32_t payloadBytes = 0;
    bool headerRead = false;
    std::unique_ptr<Watch> watch;
    std::unique_ptr<wxEventLoopSource> source;
};

void HandOverServer::Sweeper::Notify() {
    m_server.Sweep();
}

HandOverServer::HandOverServer(const Receiver& receiver) : m_receiver(receiver) {}

HandOverServer::~HandOverServer() {
    m_sweeper.Stop();
    while (!m_clients.empty())
        Drop(m_clients.begin()->first);
    m_dropped.clear();
    m_source.reset();
    if (m_fd < 0)
        return;
    ::close(m_fd);
    // Only our own socket: a later start may have replaced it already.
    struct stat st;
    if (::lstat(m_path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_ino == m_inode)
        ::unlink(m_path.c_str());
}

bool HandOverServer::Listen(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path || m_fd >= 0)
        return false;
    // Whatever a dead process left under our private name goes (a folder there
    // stays, and the bind below fails).
    ::unlink(path.c_str());
    struct stat st;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    // Born owner-only, so nobody else can connect in between.
    const mode_t mask = ::umask(077);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::chmod(path.c_str(), 0600) != 0 || ::lstat(path.c_str(), &st) != 0 ||
        ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    m_watch = std::make_unique<Watch>([this] { Accept(); });
    m_source.reset(wxEventLoopBase::AddSourceForFD(
        fd, m_watch.get(), wxEVENT_SOURCE_INPUT | wxEVENT_SOURCE_EXCEPTION));
    if (!m_source) {
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_inode = st.st_ino;
    return true;
}

void HandOverServer::Accept() {
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return; // EAGAIN: all taken; anything else: try at the next event
        // The socket file is owner-only; the kernel's word on who connected too.
        ucred peer{};
        socklen_t size = sizeof peer;
        const bool ours =
            ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
        if (!ours || m_clients.size() >= kMaxClients) {
            ::close(fd);
            continue;
        }
        auto client = std::make_unique<Client>();
        client->fd = fd;
        client->deadline = Clock::now() + std::chrono::milliseconds(kClientMs);
        client->watch = std::make_unique<Watch>([this, fd] { Read(fd); });
        client->source.reset(wxEventLoopBase::AddSourceForFD(
            fd, client->watch.get(), wxEVENT_SOURCE_INPUT | wxEVENT_SOURCE_EXCEPTION));
        if (!client->source) {
            ::close(fd);
            continue;
        }
        m_clients[fd] = std::move(client);
        if (!m_sweeper.IsRunning())
            m_sweeper.Start(kSweepMs);
    }
}

void HandOverServer::Read(int fd) {
    auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    Client& client = *it->second;
    for (;;) {
        // Never more than the message: the header, then what it announced.
        const size_t wanted = client.headerRead
                                  ? HandOverMessage::kHeaderBytes + client.payloadBytes
                                  : HandOverMessage::kHeaderBytes;
        const size_t have = client.received.size();
        if (have == wanted)
            break;
        char buffer[16384];
        const size_t room = std::min(sizeof buffer, wanted - have);
        const ssize_t n = ::recv(fd, buffer, room, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return; // the rest comes later, or the sweep ends it
        if (n <= 0) {
            Drop(fd); // hung up before the end, or an error
            return;
        }
        client.received.append(buffer, static_cast<size_t>(n));
        if (!HandOverMessage::CanBegin(client.received.data(), client.received.size())) {
            Drop(fd);
            return;
        }
        if (!client.headerRead && client.received.size() == HandOverMessage::kHeaderBytes) {
            if (!HandOverMessage::ReadHeader(client.received.data(), client.payloadBytes)) {
                Drop(fd);
                return;
            }
            client.headerRead = true;
        }
    }
    wxArrayString paths;
    const bool good =
        HandOverMessage::Decode(client.received.substr(HandOverMessage::kHeaderBytes), paths);
    if (good) {
        // The sender waits for this before it ends; a full buffer is its loss.
        const char ack = 'K';
        (void)::send(fd, &ack, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    }
    Drop(fd);
    // Adding probes every file and may ask questions: not inside the socket's event.
    if (good && wxTheApp) {
        Receiver receiver = m_receiver;
        wxTheApp->CallAfter([receiver, paths] { receiver(paths); });
    }
}

void HandOverServer::Drop(int fd) {
    auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    std::unique_ptr<Client> client = std::move(it->second);
    m_clients.erase(it);
    client->source.reset();
    client->watch->Disarm();
    ::close(client->fd);
    client->fd = -1;
    m_dropped.push_back(std::move(client));
    if (!m_sweeper.IsRunning())
        m_sweeper.Start(kSweepMs);
}

void HandOverServer::Sweep() {
    m_dropped.clear();
    const Clock::time_point now = Clock::now();
    std::vector<int> late;
    for (const auto& [fd, client] : m_clients) {
        if (client->deadline <= now)
            late.push_back(fd);
    }
    for (int fd : late)
        Drop(fd);
    if (m_clients.empty() && m_dropped.empty())
        m_sweeper.Stop();
}
