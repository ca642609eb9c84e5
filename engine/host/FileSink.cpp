#include "engine/host/FileSink.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr size_t kBlock = 1 << 20;
constexpr off_t kKickEvery = 8 << 20;
} // namespace

FileSink::FileSink(int fd) : Pipeline("output file", nullptr), m_fd(fd) {
    m_buffer.reserve(kBlock);
}

FileSink::~FileSink() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void FileSink::Drain() {
    WriteOut(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}

void FileSink::WriteOut(const char* data, size_t size) {
    size_t done = 0;
    while (done < size && !m_failed) {
        ssize_t n = ::write(m_fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            m_failed = true;
        else
            done += static_cast<size_t>(n);
    }
    m_written += static_cast<off_t>(done);
    // No exception here: qpdf finishes pipelines from destructors, where a throw
    // would end the process. The failure is reported by Commit.
    if (m_failed)
        return;
    if (m_written - m_kicked >= kKickEvery) {
        ::sync_file_range(m_fd, m_kicked, m_written - m_kicked, SYNC_FILE_RANGE_WRITE);
        m_kicked = m_written;
    }
}

void FileSink::write(unsigned char const* data, size_t len) {
    if (m_failed)
        return;
    // A large piece goes out as it is, without a copy into the buffer.
    if (len >= kBlock) {
        if (!m_buffer.empty())
            Drain();
        WriteOut(reinterpret_cast<const char*>(data), len);
        return;
    }
    while (len > 0) {
        size_t room = kBlock - m_buffer.size();
        size_t take = len < room ? len : room;
        m_buffer.append(reinterpret_cast<const char*>(data), take);
        data += take;
        len -= take;
        if (m_buffer.size() == kBlock)
            Drain();
    }
}

void FileSink::finish() {
    if (!m_buffer.empty())
        Drain();
}

bool FileSink::Commit() {
    finish();
    if (m_failed || ::fdatasync(m_fd) != 0)
        return false;
    int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}
