#include "engine/api/HostChannel.h"

#include "engine/api/WipeSecret.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A message may carry two passwords; anything bigger is a broken peer.
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

void CloseAll(const std::vector<int>& fds) {
    for (int fd : fds)
        ::close(fd);
}

} // namespace

HostChannel::~HostChannel() {
    for (const Arrived& a : m_arrived)
        ::close(a.fd);
}

bool HostChannel::Send(const Message& message, const std::vector<int>& descriptors) {
    if (descriptors.size() > kMaxDescriptors)
        return false;
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
    // The descriptors go with the first bytes of the message, as the receiver
    // expects them.
    alignas(cmsghdr) char control[CMSG_SPACE(kMaxDescriptors * sizeof(int))];
    size_t sent = 0;
    bool ok = true;
    while (sent < out.size()) {
        iovec iov{&out[sent], out.size() - sent};
        msghdr msg{};
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        if (sent == 0 && !descriptors.empty()) {
            std::memset(control, 0, sizeof control);
            msg.msg_control = control;
            msg.msg_controllen = CMSG_SPACE(descriptors.size() * sizeof(int));
            cmsghdr* c = CMSG_FIRSTHDR(&msg);
            c->cmsg_level = SOL_SOCKET;
            c->cmsg_type = SCM_RIGHTS;
            c->cmsg_len = CMSG_LEN(descriptors.size() * sizeof(int));
            std::memcpy(CMSG_DATA(c), descriptors.data(), descriptors.size() * sizeof(int));
        }
        ssize_t n = ::sendmsg(m_fd, &msg, MSG_NOSIGNAL);
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

HostChannel::Parse HostChannel::TakeMessage(Message& message, std::vector<int>& descriptors) {
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
    descriptors.clear();
    std::vector<Arrived> later;
    for (const Arrived& a : m_arrived) {
        if (a.at < pos)
            descriptors.push_back(a.fd);
        else
            later.push_back(Arrived{a.fd, a.at - pos});
    }
    m_arrived.swap(later);
    message.swap(parsed);
    return Parse::Done;
}

size_t HostChannel::LastStartFrom(size_t from) const {
    size_t pos = 0, last = std::string::npos;
    while (pos < m_buffer.size()) {
        if (pos >= from)
            last = pos;
        // The end of the message starting at pos, when all of it is here.
        if (m_buffer.size() < pos + 4)
            break;
        const uint32_t count = GetU32(m_buffer, pos);
        size_t end = pos + 4;
        for (uint32_t i = 0; i < count && end != std::string::npos; ++i) {
            if (count > kMaxFields || m_buffer.size() < end + 4)
                end = std::string::npos;
            else
                end += 4 + GetU32(m_buffer, end);
        }
        if (end == std::string::npos || end > m_buffer.size())
            break;
        pos = end;
    }
    return last;
}

bool HostChannel::ReadSome() {
    char chunk[65536];
    alignas(cmsghdr) char control[CMSG_SPACE(kMaxDescriptors * sizeof(int))];
    iovec iov{chunk, sizeof chunk};
    msghdr msg{};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(m_fd, &msg, MSG_CMSG_CLOEXEC);
    if (n < 0)
        return errno == EINTR || errno == EAGAIN;
    const size_t before = m_buffer.size();
    if (n > 0)
        m_buffer.append(chunk, static_cast<size_t>(n));
    // Descriptors cut off for want of room, or ancillary data of another kind:
    // not our peer speaking.
    bool broken = n == 0 || (msg.msg_flags & MSG_CTRUNC) != 0;
    std::vector<int> fds;
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS) {
            broken = true;
            continue;
        }
        const size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof fd);
            fds.push_back(fd);
        }
    }
    if (!fds.empty()) {
        // The kernel hands over descriptors with the last piece a read returns,
        // which starts where the sender began the message they travel with;
        // whole messages sent before may come ahead of it in the same read.
        const size_t at = LastStartFrom(before);
        for (int fd : fds)
            m_arrived.push_back(Arrived{fd, at});
        broken = broken || at == std::string::npos;
    }
    return !broken && m_arrived.size() <= kMaxDescriptors;
}

HostChannel::ReadResult HostChannel::Receive(Message& message, int timeoutMs,
                                             std::vector<int>* descriptors) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        std::vector<int> fds;
        Parse parse = TakeMessage(message, fds);
        if (parse == Parse::Done) {
            if (descriptors) {
                descriptors->swap(fds);
                return ReadResult::Ok;
            }
            CloseAll(fds);
            return fds.empty() ? ReadResult::Ok : ReadResult::Closed;
        }
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
        if (!ReadSome())
            return ReadResult::Closed;
    }
}
