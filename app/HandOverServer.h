#pragma once
// The open window's end of the hand-over socket: a Unix socket only its owner may
// use, whose messages (HandOverMessage) are read without ever blocking, from the
// GUI event loop. A client gets a few seconds and the bytes its header announces
// within the bounds; one that breaks a rule is dropped, and the window never waits
// for it. Lives on the GUI thread.

#include <wx/arrstr.h>
#include <wx/timer.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class wxEventLoopSource;

class HandOverServer {
public:
    // Receives the paths of each well-formed message, from the event loop.
    typedef std::function<void(const wxArrayString& paths)> Receiver;

    explicit HandOverServer(const Receiver& receiver);
    // Stops listening and removes the socket.
    ~HandOverServer();
    HandOverServer(const HandOverServer&) = delete;
    HandOverServer& operator=(const HandOverServer&) = delete;

    // Listens at path, replacing what a dead process left there (the caller holds
    // the lock, so nobody else listens at it). False when the socket cannot be made.
    bool Listen(const std::string& path);

    // How long a client has to send its whole message.
    static constexpr int kClientMs = 3000;
    // Clients served at once; more are turned away at once.
    static constexpr size_t kMaxClients = 8;

private:
    struct Client;
    class Watch;
    class Sweeper : public wxTimer {
    public:
        explicit Sweeper(HandOverServer& server) : m_server(server) {}
        void Notify() override;

    private:
        HandOverServer& m_server;
    };

    void Accept();
    void Read(int fd);
    void Drop(int fd);
    void Sweep();

    Receiver m_receiver;
    std::string m_path;
    int m_fd = -1;
    unsigned long long m_inode = 0; // of the socket file this server made
    std::unique_ptr<Watch> m_watch;
    std::unique_ptr<wxEventLoopSource> m_source;
    std::map<int, std::unique_ptr<Client>> m_clients;
    // Clients dropped from inside their own event: freed on the next sweep, as the
    // event loop may still be using their watch.
    std::vector<std::unique_ptr<Client>> m_dropped;
    Sweeper m_sweeper{*this};
};
