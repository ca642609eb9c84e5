#include "engine/api/HostChannel.h"

#include "engine/api/WipeSecret.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A message may carry a path and two passwords; anything bigger is a broken peer.
constexpr uint32_t kMaxField = 1u << 20;
constexpr uint32_t kMaxFields = 64;

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xff);
}

uint32_t GetU32(const std::string& in, size_t pos) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<unsigned char>(in[pos + i])) << (8 * i);
    return v;
}

} // namespace

bool HostChannel::Send(const Message& message) {
    size_t total = 4;
    for (const auto& field : message)
        total += 4 + field.size();
    std::string out;
    out.reserve(total); // one buffer, wiped once the bytes are sent
    PutU32(out, static_cast<uint32_t>(message.size()));
    for (const auto& field : message) {
        PutU32(out, static_cast<uint32_t>(field.size()));
        out += field;
    }
    size_t sent = 0;
    bool ok = true;
    while (sent < out.size()) {
        ssize_t n = ::send(m_fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        sent += static_cast<size_t>(n);
    }
    WipeSecret(out);
    return ok;
}

HostChannel::Parse HostChannel::TakeMessage(Message& message) {
    if (m_buffer.size() < 4)
        return Parse::Incomplete;
    uint32_t count = GetU32(m_buffer, 0);
    // A peer announcing absurd sizes is broken; never buffer for ever on its word.
    if (count > kMaxFields)
        return Parse::Broken;
    size_t pos = 4;
    Message parsed;
    for (uint32_t i = 0; i < count; ++i) {
        if (m_buffer.size() < pos + 4)
            return Parse::Incomplete;
        uint32_t len = GetU32(m_buffer, pos);
        if (len > kMaxField)
            return Parse::Broken;
        if (m_buffer.size() < pos + 4 + len)
            return Parse::Incomplete;
        parsed.emplace_back(m_buffer, pos + 4, len);
        pos += 4 + len;
    }
    // The bytes may hold a password: leave no copy behind in the buffer.
    ::explicit_bzero(&m_buffer[0], pos);
    m_buffer.erase(0, pos);
    message.swap(parsed);
    return Parse::Done;
}

HostChannel::ReadResult HostChannel::Receive(Message& message, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        Parse parse = TakeMessage(message);
        if (parse == Parse::Done)
            return ReadResult::Ok;
        if (parse == Parse::Broken)
            return ReadResult::Closed;

        int wait = -1;
        if (timeoutMs >= 0) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return ReadResult::Timeout;
            wait = static_cast<int>(left.count());
        }
        pollfd p{m_fd, POLLIN, 0};
        int r = ::poll(&p, 1, wait);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return ReadResult::Closed;
        if (r == 0)
            return ReadResult::Timeout;
        char chunk[65536];
        ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return ReadResult::Closed;
        m_buffer.append(chunk, static_cast<size_t>(n));
    }
}
