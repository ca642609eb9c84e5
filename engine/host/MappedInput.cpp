#include "engine/host/MappedInput.h"

#include "engine/host/TruncationGuard.h"

#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pages this far behind qpdf's reading are let go as it reads on: a sweep over
// the whole file (its rebuilding of a table from a scan) must not hold the file.
constexpr uint64_t kKeptBehind = 8u << 20;

class ReleasingSource : public BufferInputSource {
public:
    ReleasingSource(const std::string& name, Buffer* buffer, char* data)
        : BufferInputSource(name, buffer, false), m_data(data) {}

    size_t read(char* buffer, size_t length) override {
        const size_t n = BufferInputSource::read(buffer, length);
        Behind();
        return n;
    }
    qpdf_offset_t findAndSkipNextEOL() override {
        const qpdf_offset_t at = BufferInputSource::findAndSkipNextEOL();
        Behind();
        return at;
    }

private:
    void Behind() {
        static const uint64_t pageSize = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
        const uint64_t pos = static_cast<uint64_t>(tell());
        const uint64_t page = pos - pos % pageSize;
        if (page < m_released) {
            m_released = page; // read again from here: let go again as it goes
        } else if (page - m_released >= 2 * kKeptBehind) {
            const uint64_t upTo = page - kKeptBehind;
            ::madvise(m_data + m_released, upTo - m_released, MADV_DONTNEED);
            m_released = upTo;
        }
    }

    char* m_data;
    uint64_t m_released = 0;
};

} // namespace

std::unique_ptr<MappedInput> MappedInput::Open(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<uint64_t>(st.st_size) > kMaxMapped) {
        ::close(fd);
        return nullptr;
    }
    size_t size = static_cast<size_t>(st.st_size);
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (data == MAP_FAILED)
        return nullptr;
    ::madvise(data, size, MADV_SEQUENTIAL);
    TruncationGuard::Watch(data, size);
    std::unique_ptr<MappedInput> m(new MappedInput());
    m->m_data = data;
    m->m_size = size;
    m->m_status = st;
    m->m_buffer = std::make_unique<Buffer>(static_cast<unsigned char*>(data), size);
    m->m_source =
        std::make_shared<ReleasingSource>(path, m->m_buffer.get(), static_cast<char*>(data));
    return m;
}

MappedInput::~MappedInput() {
    m_source.reset();
    m_buffer.reset();
    if (m_data) {
        TruncationGuard::Forget(m_data);
        ::munmap(m_data, m_size);
    }
}

bool MappedInput::cutShort() const {
    return TruncationGuard::CutShort(m_data);
}

void MappedInput::Release() {
    if (m_data)
        ::madvise(m_data, m_size, MADV_DONTNEED);
}
