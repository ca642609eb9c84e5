#include "engine/host/HangupWatch.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

std::mutex HangupWatch::s_mutex;
int HangupWatch::s_temp = -1;

void HangupWatch::SetCurrentTemp(int fd) {
    std::lock_guard<std::mutex> lock(s_mutex);
    s_temp = fd;
}

void HangupWatch::Run(int fd) {
    for (;;) {
        struct pollfd p = {fd, POLLRDHUP, 0};
        int n = ::poll(&p, 1, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0)
            break;
    }
    std::lock_guard<std::mutex> lock(s_mutex);
    if (s_temp >= 0) {
        // Should this fail, the sweep still removes the file, full or not.
        const int ignored = ::ftruncate(s_temp, 0);
        (void)ignored;
    }
    ::_exit(0);
}
