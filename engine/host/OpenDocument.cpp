#include "engine/host/OpenDocument.h"

#include "engine/api/PdfMSService.h"
#include "engine/host/MappedInput.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>

#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// qpdf seeks before most reads, and stdio refills its whole buffer after a seek:
// big enough for an object, small enough that hopping between objects stays cheap.
constexpr size_t kIoBuffer = 64 << 10;

// Opens a regular file for reading without ever blocking on a FIFO or device that
// replaced it since the library looked.
FILE* OpenRegular(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        ::close(fd);
        return nullptr;
    }
    std::setvbuf(f, nullptr, _IOFBF, kIoBuffer);
    return f;
}

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
    pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    if (mapped)
        input = MappedInput::Open(path);
    FILE* f = nullptr;
    if (!input) {
        f = OpenRegular(path);
        if (!f)
            return PDFMS_OPEN_NOT_FILE;
    }
    try {
        if (input)
            pdf->processInputSource(input->source(), password);
        else
            pdf->processFile(path.c_str(), f, true, password);
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
