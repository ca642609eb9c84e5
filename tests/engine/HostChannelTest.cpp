#include "engine/api/HostChannel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class HostChannelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, ::socketpair(AF_UNIX, SOCK_STREAM, 0, m_fds)); }
    void TearDown() override {
        for (int fd : m_fds) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    void WriteRaw(const std::string& bytes) {
        ASSERT_EQ(static_cast<ssize_t>(bytes.size()),
                  ::write(m_fds[1], bytes.data(), bytes.size()));
    }
    int m_fds[2] = {-1, -1};
};

TEST_F(HostChannelTest, MessagesArriveWholeAndInOrder) {
    HostChannel a(m_fds[0]), b(m_fds[1]);
    const std::string binary("pass\0word\xff", 10);
    ASSERT_TRUE(b.Send({"probe", "/tmp/a b.pdf", "", binary}));
    ASSERT_TRUE(b.Send({"second"}));
    HostChannel::Message m;
    ASSERT_EQ(HostChannel::ReadResult::Ok, a.Receive(m, 1000));
    ASSERT_EQ(4u, m.size());
    EXPECT_EQ("probe", m[0]);
    EXPECT_EQ("/tmp/a b.pdf", m[1]);
    EXPECT_EQ("", m[2]);
    EXPECT_EQ(binary, m[3]);
    ASSERT_EQ(HostChannel::ReadResult::Ok, a.Receive(m, 1000));
    EXPECT_EQ(HostChannel::Message{"second"}, m);
    EXPECT_EQ(HostChannel::ReadResult::Timeout, a.Receive(m, 10));
}

TEST_F(HostChannelTest, HalfAMessageWaitsForTheRest) {
    HostChannel a(m_fds[0]);
    // One field "abc": count 1, length 3.
    const std::string whole("\x01\0\0\0\x03\0\0\0abc", 11);
    WriteRaw(whole.substr(0, 6));
    HostChannel::Message m;
    EXPECT_EQ(HostChannel::ReadResult::Timeout, a.Receive(m, 20));
    WriteRaw(whole.substr(6));
    ASSERT_EQ(HostChannel::ReadResult::Ok, a.Receive(m, 1000));
    EXPECT_EQ(HostChannel::Message{"abc"}, m);
}

TEST_F(HostChannelTest, DescriptorsTravelWithTheirMessage) {
    HostChannel a(m_fds[0]), b(m_fds[1]);
    int pipe[2];
    ASSERT_EQ(0, ::pipe(pipe));
    ASSERT_TRUE(b.Send({"first"}));
    ASSERT_TRUE(b.Send({"files"}, {pipe[1]}));
    ::close(pipe[1]);
    HostChannel::Message m;
    std::vector<int> fds;
    ASSERT_EQ(HostChannel::ReadResult::Ok, a.Receive(m, 1000, &fds));
    EXPECT_TRUE(fds.empty()) << "the descriptor came with the second message";
    ASSERT_EQ(HostChannel::ReadResult::Ok, a.Receive(m, 1000, &fds));
    EXPECT_EQ(HostChannel::Message{"files"}, m);
    ASSERT_EQ(1u, fds.size());
    // The copy writes into the same pipe.
    ASSERT_EQ(2, ::write(fds[0], "ok", 2));
    ::close(fds[0]);
    char got[3] = {};
    EXPECT_EQ(2, ::read(pipe[0], got, 2));
    EXPECT_STREQ("ok", got);
    ::close(pipe[0]);

    // Who expects none takes a message with one for a broken peer.
    ASSERT_TRUE(b.Send({"files"}, {m_fds[1]}));
    EXPECT_EQ(HostChannel::ReadResult::Closed, a.Receive(m, 1000));
}

TEST_F(HostChannelTest, GoneOrBrokenPeerReadsAsClosed) {
    HostChannel a(m_fds[0]);
    // An absurd field length is a broken peer, not a reason to buffer for ever;
    // here it is the second field's.
    WriteRaw(std::string("\x02\0\0\0\x01\0\0\0x\xff\xff\xff\x7f", 13));
    HostChannel::Message m;
    EXPECT_EQ(HostChannel::ReadResult::Closed, a.Receive(m, 1000));

    ::close(m_fds[1]);
    m_fds[1] = -1;
    HostChannel c(m_fds[0]);
    EXPECT_EQ(HostChannel::ReadResult::Closed, c.Receive(m, 1000));
    // Sending to a closed peer fails instead of raising SIGPIPE.
    EXPECT_FALSE(c.Send({"probe"}));
}

} // namespace
