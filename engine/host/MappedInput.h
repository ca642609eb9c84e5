#pragma once
// A source file mapped into memory for qpdf: its many small seeks and reads become
// plain memory copies instead of stdio calls. Must outlive the QPDF object that
// reads from it. The one-pass writer reads the same mapping. A file cut short
// while mapped reads as zeros from its new end on (see TruncationGuard).

#include <cstddef>
#include <memory>
#include <sys/stat.h>

class Buffer;
class InputSource;

class MappedInput {
public:
    // Files above this stay on stdio so the mapping never crowds the memory cap.
    static constexpr size_t kMaxMapped = size_t(1) << 29;

    // Maps the file fd reads (fd stays the caller's); null when it cannot be
    // mapped (empty, too big, not regular).
    static std::unique_ptr<MappedInput> Open(int fd);
    ~MappedInput();
    MappedInput(const MappedInput&) = delete;
    MappedInput& operator=(const MappedInput&) = delete;

    std::shared_ptr<InputSource> source() const { return m_source; }
    const char* data() const { return static_cast<const char*>(m_data); }
    // The file's status when it was mapped.
    const struct stat& status() const { return m_status; }
    // Whether the file was cut short while it was read.
    bool cutShort() const;

    // Drops the pages read so far from this process's memory; they stay in the
    // page cache and come back on the next read.
    void Release();

private:
    MappedInput() = default;

    void* m_data = nullptr;
    size_t m_size = 0;
    struct stat m_status = {};
    std::unique_ptr<Buffer> m_buffer;
    std::shared_ptr<InputSource> m_source;
};
