#pragma once
// A tiny HTTP/1.0 server on 127.0.0.1 for the update-check tests: each path
// answers with a fixed status, extra headers and body, or never answers at all.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LocalHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string headers; // extra header lines, each ending in "\r\n"
        std::string body;
        bool silent = false; // accept, read the request, never answer
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void Serve(const std::string& path, const Reply& reply);
    void ServeBody(const std::string& path, const std::string& body) {
        Serve(path, {200, "", body, false});
    }

    std::string Url(const std::string& path) const;
    int Port() const { return m_port; }
    // Requests seen so far, by path.
    int RequestCount(const std::string& path) const;
    // Connections the client has closed while the server was holding them silent.
    int ClosedSilentConnections() const { return m_closedSilent; }

private:
    void AcceptLoop();
    void Handle(int fd);

    int m_listenFd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_closedSilent{0};
    mutable std::mutex m_mutex;
    std::map<std::string, Reply> m_replies;
    std::map<std::string, int> m_counts;
    std::vector<std::thread> m_workers;
    std::thread m_acceptThread;
};
