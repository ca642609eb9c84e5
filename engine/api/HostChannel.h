#pragma once
// Framed messages between the engine library and its host process over one
// socket: a message is a list of byte strings (count, then length + bytes each).
// A message may carry open descriptors (SCM_RIGHTS) beside its bytes: the host
// gets its files this way and never opens a path.

#include <cstdint>
#include <string>
#include <vector>

class HostChannel {
public:
    using Message = std::vector<std::string>;

    enum class ReadResult { Ok, Timeout, Closed };

    // At most this many descriptors travel with one message.
    static constexpr size_t kMaxDescriptors = 4;

    explicit HostChannel(int fd) : m_fd(fd) {}
    // Closes descriptors that arrived for a message never completed.
    ~HostChannel();
    HostChannel(const HostChannel&) = delete;
    HostChannel& operator=(const HostChannel&) = delete;

    // False when the other side is gone. Never raises SIGPIPE. The descriptors
    // stay open here; the peer gets copies of them.
    bool Send(const Message& message, const std::vector<int>& descriptors = {});
    // Waits at most timeoutMs (negative: for ever) for one whole message. The
    // descriptors that came with it go to `descriptors`, which the caller then
    // owns; without it, a message that carries any is a broken peer (Closed).
    ReadResult Receive(Message& message, int timeoutMs, std::vector<int>* descriptors = nullptr);

    int fd() const { return m_fd; }

private:
    enum class Parse { Done, Incomplete, Broken };
    Parse TakeMessage(Message& message, std::vector<int>& descriptors);
    // Reads what is there; false when the peer is gone or broke the framing of
    // descriptors.
    bool ReadSome();
    // Where the last message that starts at or after `from` in the buffer
    // starts; npos when none does.
    size_t LastStartFrom(size_t from) const;

    struct Arrived {
        int fd;
        size_t at; // offset in m_buffer of the first byte that came with it
    };

    int m_fd;
    std::string m_buffer;
    std::vector<Arrived> m_arrived;
};
