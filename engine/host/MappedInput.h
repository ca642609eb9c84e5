#pragma once
// A source file mapped into memory for qpdf: its many small seeks and reads become
// plain memory copies instead of stdio calls. Must outlive the QPDF object that
// reads from it. A file cut short while mapped raises SIGBUS, which ends only this
// host process.

#include <cstddef>
#include <memory>
#include <string>

class Buffer;
class InputSource;

class MappedInput {
public:
    // Files above this stay on stdio so the mapping never crowds the memory cap.
    static constexpr size_t kMaxMapped = size_t(1) << 29;

    // Null when the file cannot be mapped (empty, too big, not regular).
    static std::unique_ptr<MappedInput> Open(const std::string& path);
    ~MappedInput();
    MappedInput(const MappedInput&) = delete;
    MappedInput& operator=(const MappedInput&) = delete;

    std::shared_ptr<InputSource> source() const { return m_source; }

    // Drops the pages read so far from this process's memory; they stay in the
    // page cache and come back on the next read.
    void Release();

private:
    MappedInput() = default;

    void* m_data = nullptr;
    size_t m_size = 0;
    std::unique_ptr<Buffer> m_buffer;
    std::shared_ptr<InputSource> m_source;
};
