#include "engine/host/PdfWorker.h"

#include "engine/api/PdfMSService.h"
#include "engine/host/FileSink.h"
#include "engine/host/MappedInput.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFWriter.hh>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sequential reads and writes of whole files: big stdio buffers save many syscalls.
constexpr size_t kIoBuffer = 1 << 20;

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

// Opens path into doc; returns the open state it reached (0 when it opened).
int32_t Open(OpenDocument& doc, const std::string& path, const char* password) {
    doc.reset();
    doc.pdf = std::make_unique<QPDF>();
    QPDF& pdf = *doc.pdf;
    pdf.setSuppressWarnings(true);
    doc.input = MappedInput::Open(path);
    FILE* f = nullptr;
    if (!doc.input) {
        f = OpenRegular(path);
        if (!f)
            return PDFMS_OPEN_NOT_FILE;
    }
    try {
        if (doc.input)
            pdf.processInputSource(doc.input->source(), password);
        else
            pdf.processFile(path.c_str(), f, true, password);
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

// Lists the pages; -1 when they cannot be listed. qpdf reads lazily, so a file
// that opened may still fail here.
int32_t CountPages(QPDF& pdf) {
    try {
        return static_cast<int32_t>(pdf.getAllPages().size());
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return -1;
    }
}

qpdf_r3_print_e PrintLevel(int32_t printing) {
    switch (printing) {
    case PDFMS_PRINT_HIGH:
    case PDFMS_PRINT_ALLOWED:
        return qpdf_r3p_full;
    case PDFMS_PRINT_LOW:
        return qpdf_r3p_low;
    default:
        return qpdf_r3p_none;
    }
}

void SetEncryption(QPDFWriter& w, const EncryptRequest& r) {
    const char* user = r.user.c_str();
    const char* owner = r.owner.c_str();
    switch (r.level) {
    case PDFMS_LEVEL_RC4_40:
        w.setR2EncryptionParametersInsecure(user, owner, r.printing != PDFMS_PRINT_NONE, r.modify,
                                            r.copy, r.annotate);
        break;
    case PDFMS_LEVEL_RC4_128:
        w.setR3EncryptionParametersInsecure(user, owner, r.accessibility, r.copy, r.assemble,
                                            r.annotate, r.forms, r.modify, PrintLevel(r.printing));
        break;
    case PDFMS_LEVEL_AES_128:
        w.setR4EncryptionParametersInsecure(user, owner, r.accessibility, r.copy, r.assemble,
                                            r.annotate, r.forms, r.modify, PrintLevel(r.printing),
                                            true, true);
        break;
    default:
        w.setR6EncryptionParameters(user, owner, r.accessibility, r.copy, r.assemble, r.annotate,
                                    r.forms, r.modify, PrintLevel(r.printing), true);
        break;
    }
}

class ProgressForwarder : public QPDFWriter::ProgressReporter {
public:
    explicit ProgressForwarder(const std::function<void(int)>& fn) : m_fn(fn) {}
    void reportProgress(int percent) override { m_fn(percent); }

private:
    const std::function<void(int)>& m_fn;
};

// Writes the temporary file; returns a PDFMS_* code.
int32_t WriteEncrypted(QPDF& pdf, const EncryptRequest& r,
                       const std::function<void(int)>& progress) {
    // The library made the file, with the mode the output is to have.
    int fd = ::open(r.temp.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return PDFMS_ERR_OUTPUT;
    FileSink sink(fd);
    try {
        QPDFWriter w(pdf);
        w.setOutputPipeline(&sink);
        // Stream data goes out as it came in: exact content, and a decompression
        // bomb is never inflated.
        w.setDecodeLevel(qpdf_dl_none);
        w.setCompressStreams(false);
        w.setObjectStreamMode(qpdf_o_preserve);
        w.setLinearization(false);
        SetEncryption(w, r);
        w.registerProgressReporter(std::make_shared<ProgressForwarder>(progress));
        w.write();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return sink.failed() ? PDFMS_ERR_OUTPUT : PDFMS_ERR_ENGINE;
    }
    return sink.Commit() ? PDFMS_OK : PDFMS_ERR_OUTPUT;
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

PdfWorker::PdfWorker() = default;
PdfWorker::~PdfWorker() = default;

bool PdfWorker::MakeKey(const std::string& path, FileKey& key) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    key.path = path;
    key.dev = st.st_dev;
    key.ino = st.st_ino;
    key.size = st.st_size;
    key.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

void PdfWorker::Forget() {
    m_doc.reset();
    m_key = FileKey();
}

ProbeAnswer PdfWorker::Probe(const std::string& path) {
    FileKey key;
    if (!MakeKey(path, key)) {
        Forget();
        ProbeAnswer a;
        a.openState = PDFMS_OPEN_NOT_FILE;
        return a;
    }
    if (key == m_key)
        return m_answer;
    Forget();

    OpenDocument doc;
    ProbeAnswer a;
    a.openState = Open(doc, path, nullptr);
    QPDF* pdf = doc.pdf.get();
    if (a.openState == PDFMS_OPEN_ENCRYPTED)
        a.encrypted = 1;
    if (a.openState == PDFMS_OPEN_OK) {
        a.encrypted = pdf->isEncrypted() ? 1 : 0;
        int32_t pages = CountPages(*pdf);
        bool repaired = pdf->anyWarnings();
        if (pages < 0)
            a.openState = PDFMS_OPEN_DAMAGED;
        else if (repaired && pages == 0)
            // Repair that lost every page would write an empty document over content
            // other readers still show.
            a.openState = PDFMS_OPEN_DAMAGED;
        else
            a.openState = repaired ? PDFMS_OPEN_REPAIRED : PDFMS_OPEN_OK;
        a.pageCount = pages < 0 ? 0 : pages;
    }
    m_key = key;
    m_answer = a;
    if (a.openState == PDFMS_OPEN_OK || a.openState == PDFMS_OPEN_REPAIRED)
        m_doc = std::move(doc);
    return a;
}

int32_t PdfWorker::Encrypt(const EncryptRequest& r, const std::function<void(int)>& progress) {
    ProbeAnswer source = Probe(r.source);
    OpenDocument doc = std::move(m_doc);
    // The written document shares nothing we want to keep around.
    Forget();
    if (source.openState == PDFMS_OPEN_ENCRYPTED || source.encrypted)
        return PDFMS_ERR_SOURCE_PASSWORD;
    if (!doc.pdf)
        return PDFMS_ERR_SOURCE;

    int32_t code = WriteEncrypted(*doc.pdf, r, progress);
    doc.reset();
    if (code != PDFMS_OK)
        return code;

    // The written file must read back cleanly with the password it was given.
    OpenDocument check;
    // Without a user password it must open with none.
    if (Open(check, r.temp, r.user.c_str()) != PDFMS_OPEN_OK)
        return PDFMS_ERR_VERIFY;
    if (CountPages(*check.pdf) != source.pageCount || check.pdf->anyWarnings())
        return PDFMS_ERR_VERIFY;
    return PDFMS_OK;
}
