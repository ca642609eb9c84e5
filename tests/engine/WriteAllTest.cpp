#include "engine/api/WriteAll.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// More than a pipe holds, read while it is written.
TEST(WriteAll, WritesEverythingAndFailsQuietlyWhenTheReaderIsGone) {
    int pipeFds[2];
    ASSERT_EQ(0, ::pipe(pipeFds));
    const std::string data(1 << 20, 'x');
    std::string got;
    std::thread reader([&] {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            got.append(buffer, static_cast<size_t>(n));
    });
    EXPECT_EQ(data.size(), WriteAll(pipeFds[1], data.data(), data.size()));
    ::close(pipeFds[1]);
    reader.join();
    ::close(pipeFds[0]);
    EXPECT_EQ(data, got);

    // A socket whose peer has gone: a failure, not SIGPIPE ending the process.
    int sockets[2];
    ASSERT_EQ(0, ::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets));
    ::close(sockets[1]);
    errno = 0;
    EXPECT_LT(SendAll(sockets[0], data.data(), data.size()), data.size());
    EXPECT_EQ(EPIPE, errno);
    ::close(sockets[0]);
}
