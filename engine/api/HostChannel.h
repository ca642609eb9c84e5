#pragma once
// Framed messages between the engine library and its host process over one
// socket: a message is a list of byte strings (count, then length + bytes each).

#include <cstdint>
#include <string>
#include <vector>

class HostChannel {
public:
    using Message = std::vector<std::string>;

    enum class ReadResult { Ok, Timeout, Closed };

    explicit HostChannel(int fd) : m_fd(fd) {}

    // False when the other side is gone. Never raises SIGPIPE.
    bool Send(const Message& message);
    // Waits at most timeoutMs (negative: for ever) for one whole message.
    ReadResult Receive(Message& message, int timeoutMs);

    int fd() const { return m_fd; }

private:
    enum class Parse { Done, Incomplete, Broken };
    Parse TakeMessage(Message& message);

    int m_fd;
    std::string m_buffer;
};
