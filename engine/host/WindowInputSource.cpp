#include "engine/host/WindowInputSource.h"

#include "engine/host/SourceWindow.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {
// An end of line is looked for in pieces of at most this size.
constexpr size_t kPiece = 64u << 10;
} // namespace

WindowInputSource::WindowInputSource(const std::string& name, std::unique_ptr<SourceWindow> window)
    : m_name(name), m_window(std::move(window)),
      m_size(static_cast<qpdf_offset_t>(m_window->fileSize())) {}

WindowInputSource::~WindowInputSource() = default;

void WindowInputSource::seek(qpdf_offset_t offset, int whence) {
    qpdf_offset_t to = offset;
    if (whence == SEEK_CUR)
        to = m_pos + offset;
    else if (whence == SEEK_END)
        to = m_size + offset;
    if (to < 0)
        throw std::runtime_error(m_name + ": seek before the beginning of the file");
    m_pos = to;
}

size_t WindowInputSource::read(char* buffer, size_t length) {
    setLastOffset(m_pos);
    size_t done = 0;
    while (done < length && m_pos < m_size) {
        const char* data = nullptr;
        size_t n = m_window->ViewSome(static_cast<uint64_t>(m_pos), length - done, data);
        if (n == 0)
            break;
        std::memcpy(buffer + done, data, n);
        done += n;
        m_pos += static_cast<qpdf_offset_t>(n);
    }
    return done;
}

void WindowInputSource::unreadCh(char) {
    if (m_pos > 0)
        --m_pos;
}

// As qpdf's own sources do: the offset of the next CR or LF, leaving the position
// after it and any CR or LF that follow.
qpdf_offset_t WindowInputSource::findAndSkipNextEOL() {
    if (m_pos >= m_size) {
        setLastOffset(m_size);
        m_pos = m_size;
        return m_size;
    }
    qpdf_offset_t result = -1;
    while (m_pos < m_size) {
        const char* data = nullptr;
        size_t n = m_window->ViewSome(static_cast<uint64_t>(m_pos), kPiece, data);
        if (n == 0)
            break;
        size_t i = 0;
        if (result < 0) {
            while (i < n && data[i] != '\r' && data[i] != '\n')
                ++i;
            if (i == n) {
                m_pos += static_cast<qpdf_offset_t>(n);
                continue;
            }
            result = m_pos + static_cast<qpdf_offset_t>(i);
        }
        while (i < n && (data[i] == '\r' || data[i] == '\n'))
            ++i;
        m_pos += static_cast<qpdf_offset_t>(i);
        if (i < n)
            return result;
    }
    m_pos = m_size;
    return result < 0 ? m_size : result;
}
