#include "FuzzTargets.h"

#include "engine/api/HostChannel.h"
#include "engine/api/HostProtocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace HostProtocol;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "pz-fuzz-protocol: %s\n", what);
    std::abort();
}

// What decodes must encode to what decodes the same.
template <typename T> void ExpectStable(const T& decoded, bool (*decode)(const Message&, T&)) {
    T again;
    if (!decode(Encode(decoded), again) || Encode(again) != Encode(decoded))
        Fail("a decoded message does not survive its own codec");
}

template <typename T>
void ExpectStableRequest(const T& decoded, const std::vector<int>& fds,
                         bool (*decode)(const Message&, const std::vector<int>&, T&)) {
    T again;
    if (!decode(Encode(decoded), fds, again) || Encode(again) != Encode(decoded) ||
        Descriptors(again) != Descriptors(decoded))
        Fail("a decoded request does not survive its own codec");
}

// `host`: read as the host reads (requests, with their descriptors), else as the
// library reads (replies).
void DecodeEveryWay(const Message& m, const std::vector<int>& fds, bool host) {
    const Kind kind = KindOf(m);
    Hello hello;
    ProbeRequest probe;
    ProbeReply probeReply;
    UnlockRequest unlock;
    UnlockReply unlockReply;
    EncryptRequest encrypt;
    Progress progress;
    EncryptReply encryptReply;
    Fatal fatal;
    // At most one shape fits a message on either side, and only one of its kind.
    int fits = 0;
    if (host) {
        if (Decode(m, fds, probe) && ++fits)
            ExpectStableRequest<ProbeRequest>(probe, fds, Decode);
        if (Decode(m, fds, unlock) && ++fits)
            ExpectStableRequest<UnlockRequest>(unlock, fds, Decode);
        if (Decode(m, fds, encrypt) && ++fits)
            ExpectStableRequest<EncryptRequest>(encrypt, fds, Decode);
    } else {
        if (Decode(m, hello) && ++fits)
            ExpectStable<Hello>(hello, Decode);
        if (Decode(m, probeReply) && ++fits)
            ExpectStable<ProbeReply>(probeReply, Decode);
        if (Decode(m, unlockReply) && ++fits)
            ExpectStable<UnlockReply>(unlockReply, Decode);
        if (Decode(m, progress) && ++fits)
            ExpectStable<Progress>(progress, Decode);
        if (Decode(m, encryptReply) && ++fits)
            ExpectStable<EncryptReply>(encryptReply, Decode);
        if (Decode(m, fatal) && ++fits)
            ExpectStable<Fatal>(fatal, Decode);
    }
    if (fits > 1 || (fits == 1 && kind == Kind::Unknown))
        Fail("a message decodes as more than one thing");
}

// Sends `bytes` in two pieces, the second with `carry` descriptors beside it,
// and reads every message back as the host (`host`: taking descriptors) or the
// library does. Every descriptor that arrives is closed again.
void Replay(const uint8_t* bytes, size_t size, size_t split, int carry, bool host) {
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        Fail("no socket");
    {
        HostChannel reader(sv[0]);
        std::vector<int> carried(static_cast<size_t>(carry), sv[1]);
        const ssize_t first = ::send(sv[1], bytes, split, MSG_NOSIGNAL);
        // A raw second piece: descriptors ride on the bytes, whatever they are.
        msghdr msg{};
        iovec iov{const_cast<uint8_t*>(bytes) + split, size - split};
        alignas(cmsghdr) char control[CMSG_SPACE(8 * sizeof(int))] = {};
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        if (carry > 0 && size > split) {
            msg.msg_control = control;
            msg.msg_controllen = CMSG_SPACE(carried.size() * sizeof(int));
            cmsghdr* c = CMSG_FIRSTHDR(&msg);
            c->cmsg_level = SOL_SOCKET;
            c->cmsg_type = SCM_RIGHTS;
            c->cmsg_len = CMSG_LEN(carried.size() * sizeof(int));
            std::memcpy(CMSG_DATA(c), carried.data(), carried.size() * sizeof(int));
        }
        if (first < 0 || (size > split && ::sendmsg(sv[1], &msg, MSG_NOSIGNAL) < 0))
            Fail("the socket took less than the input");
        ::shutdown(sv[1], SHUT_WR);
        Message m;
        std::vector<int> fds;
        for (int i = 0; i < 1000; ++i) {
            const HostChannel::ReadResult r = reader.Receive(m, 1000, host ? &fds : nullptr);
            if (r != HostChannel::ReadResult::Ok)
                break;
            DecodeEveryWay(m, fds, host);
            for (int fd : fds)
                ::close(fd);
            fds.clear();
        }
    }
    ::close(sv[0]);
    ::close(sv[1]);
}

} // namespace

int FuzzProtocol(const uint8_t* data, size_t size) {
    // Two bytes of control: where the piece with descriptors starts (low six
    // bits, in 64ths of the rest) and which end reads (top bit: the host); then
    // how many descriptors ride on it.
    if (size < 2 || size > 64 * 1024)
        return 0;
    const size_t split = (size - 2) * (data[0] & 0x3f) / 64;
    const bool host = (data[0] & 0x80) != 0;
    const int carry = data[1] % 6;
    Replay(data + 2, size - 2, split, carry, host);
    return 0;
}
