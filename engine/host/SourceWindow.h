#pragma once
// Reads a file front to back with flat memory whatever its size: through one
// bounded buffer filled by pread, or straight from a mapping of the file whose
// pages are released behind the reader (no copy at all). Either way a file cut
// short underneath is reported by readFailed().

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

class SourceWindow {
public:
    // Takes ownership of fd, whose status is `st`. `capacity` bounds the buffer and
    // so the largest view; the buffer grows to it only as far as reads need.
    SourceWindow(int fd, const struct stat& st, size_t capacity);
    // Reads `mapped`, the mapped bytes of a file whose status was `st`; the
    // mapping must outlive the window and be watched by TruncationGuard.
    // `capacity` still bounds every view.
    SourceWindow(const char* mapped, const struct stat& st, size_t capacity);
    ~SourceWindow();
    SourceWindow(const SourceWindow&) = delete;
    SourceWindow& operator=(const SourceWindow&) = delete;

    // Opens path read-only; null when it is not a readable regular file.
    static std::unique_ptr<SourceWindow> Open(const std::string& path, size_t capacity);

    // Points `data` at bytes from `offset` on and returns how many are there: `want`
    // (clipped to the capacity) unless the file ends first or a read fails. Valid
    // until the next call.
    size_t View(uint64_t offset, size_t want, const char*& data);

    // Like View, but content with fewer bytes when the buffer already holds
    // `offset`: for readers that take what is there and come back for more.
    size_t ViewSome(uint64_t offset, size_t atMost, const char*& data);

    // How much to read at least when the buffer has to be refilled: small for
    // hopping from object to object, large for copying.
    void SetReadSize(size_t bytes) { m_readSize = bytes; }

    // Lets go of every mapped page read so far (they stay in the page cache), for
    // after qpdf has read the whole mapping, as its rebuilding of a table does.
    void ReleaseMapped();

    uint64_t fileSize() const { return m_fileSize; }
    // The file's status when it was opened.
    const struct stat& status() const { return m_status; }
    size_t capacity() const { return m_capacity; }
    bool readFailed() const;

private:
    size_t ViewMapped(uint64_t offset, size_t want, const char*& data);

    const char* m_mapped = nullptr;
    uint64_t m_released = 0; // mapped pages below this are not resident
    int m_fd = -1;
    struct stat m_status;
    uint64_t m_fileSize;
    size_t m_capacity;          // at most this much buffer, and never more than the file
    std::vector<char> m_buffer; // grows as views need it
    uint64_t m_base = 0;        // file offset of m_buffer[0]
    size_t m_length = 0;        // valid bytes in m_buffer
    size_t m_readSize = 1 << 16;
    bool m_readFailed = false;
};
