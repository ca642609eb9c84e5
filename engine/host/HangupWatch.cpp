#include "engine/host/HangupWatch.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

std::mutex HangupWatch::s_mutex;
std::string HangupWatch::s_temp;

void HangupWatch::SetCurrentTemp(const std::string& path) {
    std::lock_guard<std::mutex> lock(s_mutex);
    s_temp = path;
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
    if (!s_temp.empty())
        ::unlink(s_temp.c_str());
    ::_exit(0);
}
