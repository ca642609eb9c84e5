#include "engine/api/WriteAll.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

TEST(WriteAll, WritesEverythingOrSaysHowMuchWentOut) {
    int fds[2];
    ASSERT_EQ(0, ::pipe(fds));
    const std::string data(1 << 20, 'x'); // more than a pipe holds
    std::string got;
    std::thread reader([&] {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
            got.append(buffer, static_cast<size_t>(n));
    });
    EXPECT_EQ(data.size(), WriteAll(fds[1], data.data(), data.size()));
    ::close(fds[1]);
    reader.join();
    EXPECT_EQ(data, got);

    // Nobody reads: the pipe fills, the write fails, and the count is what the
    // pipe took, to the byte.
    ASSERT_EQ(0, ::pipe2(fds, O_NONBLOCK));
    const size_t written = WriteAll(fds[1], data.data(), data.size());
    EXPECT_EQ(EAGAIN, errno);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, data.size());
    size_t drained = 0;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        drained += static_cast<size_t>(n);
    EXPECT_EQ(written, drained);
    ::close(fds[0]);
    ::close(fds[1]);
}
