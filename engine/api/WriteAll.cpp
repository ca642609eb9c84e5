#include "engine/api/WriteAll.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {
template <typename Call> size_t Repeat(const void* data, size_t size, Call call) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = call(bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}
} // namespace

size_t WriteAll(int fd, const void* data, size_t size) {
    return Repeat(data, size,
                  [fd](const char* from, size_t count) { return ::write(fd, from, count); });
}

size_t SendAll(int socket, const void* data, size_t size) {
    return Repeat(data, size, [socket](const char* from, size_t count) {
        return ::send(socket, from, count, MSG_NOSIGNAL);
    });
}
