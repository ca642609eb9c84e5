#include "engine/host/OpenDocument.h"

#include "engine/api/EngineService.h"
#include "engine/host/MappedInput.h"
#include "engine/host/SourceWindow.h"
#include "engine/host/WindowInputSource.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>

#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace {
// Reading without a mapping: qpdf's seeks and small reads are served from a
// buffer of this size, refilled this much at a time.
constexpr size_t kWindow = 1u << 20;
constexpr size_t kWindowRead = 64u << 10;
} // namespace

OpenDocument::OpenDocument() = default;
OpenDocument::OpenDocument(OpenDocument&&) noexcept = default;
OpenDocument& OpenDocument::operator=(OpenDocument&& o) noexcept {
    reset();
    input = std::move(o.input);
    pdf = std::move(o.pdf);
    return *this;
}
OpenDocument::~OpenDocument() {
    reset();
}
void OpenDocument::reset() {
    pdf.reset();
    input.reset();
}

int32_t OpenDocument::Open(const std::string& path, const char* password, bool mapped) {
    reset();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return PDFMS_OPEN_NOT_FILE;
    const int32_t state = Open(fd, password, mapped);
    ::close(fd);
    return state;
}

int32_t OpenDocument::Open(int fd, const char* password, bool mapped) {
    reset();
    pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    if (mapped)
        input = MappedInput::Open(fd);
    std::shared_ptr<InputSource> source;
    if (input) {
        source = input->source();
    } else {
        std::unique_ptr<SourceWindow> window = SourceWindow::Open(fd, kWindow);
        if (!window)
            return PDFMS_OPEN_NOT_FILE;
        window->SetReadSize(kWindowRead);
        source = std::make_shared<WindowInputSource>("input", std::move(window));
    }
    try {
        pdf->processInputSource(source, password);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const QPDFExc& e) {
        if (e.getErrorCode() == qpdf_e_password || e.getErrorCode() == qpdf_e_unsupported)
            return PDFMS_OPEN_ENCRYPTED;
        return PDFMS_OPEN_DAMAGED;
    } catch (const std::exception&) {
        return PDFMS_OPEN_DAMAGED;
    }
    return PDFMS_OPEN_OK;
}

int32_t OpenDocument::CountPages() {
    try {
        return static_cast<int32_t>(pdf->getAllPages().size());
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return -1;
    }
}

std::vector<std::string> OpenDocument::Warnings() {
    std::vector<std::string> texts;
    // getWarnings() empties qpdf's list; put nothing back, we keep the texts.
    for (const QPDFExc& w : pdf->getWarnings())
        texts.push_back(w.getMessageDetail());
    return texts;
}
