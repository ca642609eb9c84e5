#pragma once
// The end of qpdf's writer pipeline: writes the output file in large blocks and
// starts the disk writeback as it goes, so the flush before the rename does not
// wait for a whole large file at once.

#include <qpdf/Pipeline.hh>

#include <string>
#include <sys/types.h>

class FileSink : public Pipeline {
public:
    // Takes ownership of fd.
    explicit FileSink(int fd);
    ~FileSink() override;

    void write(unsigned char const* data, size_t len) override;
    void finish() override;
    // Writes what is buffered and waits until the file is on disk; false on any
    // write error (disk full, I/O error), now or earlier. After a write error the
    // rest of the data is dropped.
    bool Commit();
    bool failed() const { return m_failed; }

private:
    void Drain();
    void WriteOut(const char* data, size_t size);

    int m_fd;
    std::string m_buffer;
    off_t m_written = 0;
    off_t m_kicked = 0;
    bool m_failed = false;
};
