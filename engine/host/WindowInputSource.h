#pragma once
// A qpdf input source that reads through a SourceWindow: qpdf's many seeks and
// small reads become copies out of one bounded buffer, without a mapping whose
// pages would count in the host's memory as qpdf hops across a large file.

#include <qpdf/InputSource.hh>

#include <memory>
#include <string>

class SourceWindow;

class WindowInputSource : public InputSource {
public:
    WindowInputSource(const std::string& name, std::unique_ptr<SourceWindow> window);
    ~WindowInputSource() override;

    qpdf_offset_t findAndSkipNextEOL() override;
    std::string const& getName() const override { return m_name; }
    qpdf_offset_t tell() override { return m_pos; }
    void seek(qpdf_offset_t offset, int whence) override;
    void rewind() override { m_pos = 0; }
    size_t read(char* buffer, size_t length) override;
    void unreadCh(char ch) override;

private:
    std::string m_name;
    std::unique_ptr<SourceWindow> m_window;
    qpdf_offset_t m_size;
    qpdf_offset_t m_pos = 0;
};
