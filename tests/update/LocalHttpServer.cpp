#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace {
// Waits up to ms for fd to become readable; false on time-out.
bool WaitReadable(int fd, int ms) {
    pollfd pfd{fd, POLLIN, 0};
    return poll(&pfd, 1, ms) > 0;
}
} // namespace

LocalHttpServer::LocalHttpServer() {
    m_listenFd = socket(AF_INET, SOCK_STREAM, 0);
    if (m_listenFd < 0)
        throw std::runtime_error("socket");
    int yes = 1;
    setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(m_listenFd, 16) != 0)
        throw std::runtime_error("bind/listen");
    socklen_t len = sizeof addr;
    getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

LocalHttpServer::~LocalHttpServer() {
    m_stop = true;
    m_acceptThread.join();
    for (std::thread& worker : m_workers)
        worker.join();
    close(m_listenFd);
}

void LocalHttpServer::Serve(const std::string& path, const Reply& reply) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replies[path] = reply;
}

std::string LocalHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

int LocalHttpServer::RequestCount(const std::string& path) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_counts.find(path);
    return it == m_counts.end() ? 0 : it->second;
}

void LocalHttpServer::AcceptLoop() {
    while (!m_stop) {
        if (!WaitReadable(m_listenFd, 50))
            continue;
        int fd = accept(m_listenFd, nullptr, nullptr);
        if (fd < 0)
            continue;
        m_workers.emplace_back([this, fd] { Handle(fd); });
    }
}

void LocalHttpServer::Handle(int fd) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && !m_stop) {
        if (!WaitReadable(fd, 50))
            continue;
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<size_t>(n));
    }
    // "GET /path HTTP/1.1"
    std::string path;
    const size_t start = request.find(' ');
    if (start != std::string::npos)
        path = request.substr(start + 1, request.find(' ', start + 1) - start - 1);

    Reply reply{404, "", "no such page", false};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_counts[path];
        auto it = m_replies.find(path);
        if (it != m_replies.end())
            reply = it->second;
    }
    if (reply.silent) {
        // Hold the connection until the client gives up or the test ends.
        while (!m_stop) {
            if (WaitReadable(fd, 50)) {
                if (recv(fd, buffer, sizeof buffer, 0) <= 0) {
                    ++m_closedSilent;
                    break;
                }
            }
        }
        close(fd);
        return;
    }
    // The client reads only the status code, never the reason phrase.
    std::string response = "HTTP/1.0 " + std::to_string(reply.status) + " X\r\n" + reply.headers +
                           "Content-Length: " + std::to_string(reply.body.size()) +
                           "\r\nConnection: close\r\n\r\n" + reply.body;
    size_t sent = 0;
    while (sent < response.size()) {
        ssize_t n = send(fd, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<size_t>(n);
    }
    shutdown(fd, SHUT_WR);
    close(fd);
}
