#include "engine/host/MappedInput.h"

#include "engine/host/TruncationGuard.h"

#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<MappedInput> MappedInput::Open(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<uint64_t>(st.st_size) > kMaxMapped)
        return nullptr;
    size_t size = static_cast<size_t>(st.st_size);
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED)
        return nullptr;
    ::madvise(data, size, MADV_SEQUENTIAL);
    TruncationGuard::Watch(data, size);
    std::unique_ptr<MappedInput> m(new MappedInput());
    m->m_data = data;
    m->m_size = size;
    m->m_status = st;
    m->m_buffer = std::make_unique<Buffer>(static_cast<unsigned char*>(data), size);
    m->m_source = std::make_shared<BufferInputSource>("input", m->m_buffer.get(), false);
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
