#include "engine/host/SourceWindow.h"

#include "engine/host/TruncationGuard.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Mapped pages this far behind the reader are let go.
constexpr uint64_t kReleaseBehind = 8u << 20;
} // namespace

SourceWindow::SourceWindow(int fd, const struct stat& st, size_t capacity)
    : m_fd(fd), m_status(st), m_fileSize(static_cast<uint64_t>(st.st_size)),
      m_capacity(static_cast<size_t>(std::min<uint64_t>(capacity, m_fileSize))) {}

SourceWindow::SourceWindow(const char* mapped, const struct stat& st, size_t capacity)
    : m_mapped(mapped), m_status(st), m_fileSize(static_cast<uint64_t>(st.st_size)),
      m_capacity(static_cast<size_t>(std::min<uint64_t>(capacity, m_fileSize))) {}

SourceWindow::~SourceWindow() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::unique_ptr<SourceWindow> SourceWindow::Open(const std::string& path, size_t capacity) {
    // Never blocks on a FIFO or device that replaced the file since it was checked.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::make_unique<SourceWindow>(fd, st, capacity);
}

bool SourceWindow::readFailed() const {
    return m_mapped ? TruncationGuard::CutShort(m_mapped) : m_readFailed;
}

void SourceWindow::ReleaseMapped() {
    if (m_mapped && m_fileSize > 0)
        ::madvise(const_cast<char*>(m_mapped), static_cast<size_t>(m_fileSize), MADV_DONTNEED);
    m_released = 0;
}

size_t SourceWindow::ViewMapped(uint64_t offset, size_t want, const char*& data) {
    static const uint64_t pageSize = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
    data = m_mapped + offset;
    const uint64_t page = offset - offset % pageSize;
    if (page < m_released)
        m_released = page; // read again from here: released again as we go
    if (page - m_released >= kReleaseBehind) {
        // The pages stay in the page cache: a later view of them faults them back.
        ::madvise(const_cast<char*>(m_mapped) + m_released, page - m_released, MADV_DONTNEED);
        m_released = page;
    }
    return want;
}

size_t SourceWindow::View(uint64_t offset, size_t want, const char*& data) {
    data = m_mapped ? m_mapped : m_buffer.data();
    if (offset >= m_fileSize)
        return 0;
    want = static_cast<size_t>(std::min<uint64_t>({want, m_capacity, m_fileSize - offset}));
    if (m_mapped)
        return ViewMapped(offset, want, data);
    if (offset >= m_base && offset + want <= m_base + m_length) {
        data = m_buffer.data() + (offset - m_base);
        return want;
    }
    // Refill from the page boundary below offset.
    const uint64_t base = offset & ~uint64_t(4095);
    size_t lead = static_cast<size_t>(offset - base);
    size_t target = std::max(want + lead, std::min(m_readSize, m_capacity));
    target = static_cast<size_t>(std::min<uint64_t>(target, m_fileSize - base));
    target = std::min(target, m_capacity);
    if (want + lead > target) { // a view near the end of a full buffer: start at offset
        lead = 0;
        target = want;
    }
    if (m_buffer.size() < target)
        m_buffer.resize(target);
    const uint64_t start = offset - lead;
    size_t got = 0;
    while (got < target) {
        ssize_t n =
            ::pread(m_fd, m_buffer.data() + got, target - got, static_cast<off_t>(start + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_readFailed = true;
            break;
        }
        got += static_cast<size_t>(n);
    }
    m_base = start;
    m_length = got;
    data = m_buffer.data() + lead;
    return got > lead ? std::min(want, got - lead) : 0;
}

size_t SourceWindow::ViewSome(uint64_t offset, size_t atMost, const char*& data) {
    if (m_mapped)
        return View(offset, atMost, data);
    if (offset >= m_base && offset < m_base + m_length) {
        data = m_buffer.data() + (offset - m_base);
        return std::min<uint64_t>(atMost, m_base + m_length - offset);
    }
    return View(offset, std::min(atMost, m_readSize), data);
}
