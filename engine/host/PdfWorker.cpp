#include "engine/host/PdfWorker.h"

#include "engine/api/EngineService.h"
#include "engine/host/FileSink.h"
#include "engine/host/MappedInput.h"
#include "engine/host/OnePassWriter.h"
#include "engine/host/OutputCheck.h"
#include "engine/host/PageTree.h"
#include "engine/api/PasswordEncoding.h"
#include "engine/api/WipeSecret.h"
#include "engine/host/QpdfEncryptWriter.h"
#include "engine/host/SourceLayout.h"
#include "engine/host/SourceRepairs.h"
#include "engine/host/SourceWindow.h"
#include "engine/host/StandardSecurity.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <fcntl.h>
#include <new>
#include <openssl/rand.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string RandomId() {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1)
        throw std::runtime_error("no random data for the file identifier");
    return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
}

// The first half of /ID is the document's identity: keep the source's. The second
// says this is a new version of it. A source without one gets both.
void MakeId(QPDF& pdf, std::string& id0, std::string& id1) {
    QPDFObjectHandle id = pdf.getTrailer().getKey("/ID");
    if (id.isArray() && id.getArrayNItems() == 2 && id.getArrayItem(0).isString() &&
        !id.getArrayItem(0).getStringValue().empty())
        id0 = id.getArrayItem(0).getStringValue();
    else
        id0 = RandomId();
    id1 = RandomId();
}

} // namespace

int32_t PdfWorker::OpenLocked(const EncryptRequest& r, OpenDocument& doc, int32_t& pages,
                              std::vector<std::string>& warnings) {
    if (r.sourcePassword.empty())
        return PDFMS_ERR_SOURCE_PASSWORD;
    // The password as typed, else in PDFDocEncoding, as an RC4 or AES-128 file
    // derives its keys from.
    std::string pdfDoc;
    int32_t state = doc.Open(r.source, r.sourcePassword.c_str());
    if (state == PDFMS_OPEN_ENCRYPTED &&
        PasswordEncoding::Prepare(PDFMS_LEVEL_AES_128, r.sourcePassword, pdfDoc) &&
        pdfDoc != r.sourcePassword)
        state = doc.Open(r.source, pdfDoc.c_str());
    if (state == PDFMS_OPEN_ENCRYPTED)
        return PDFMS_ERR_SOURCE_PASSWORD;
    if (state != PDFMS_OPEN_OK)
        return PDFMS_ERR_SOURCE;
    pages = doc.CountPages();
    warnings = doc.Warnings();
    if (pages < 0 || (pages == 0 && !warnings.empty()))
        return PDFMS_ERR_SOURCE;
    // Whoever has only the user password may not lift the owner's restrictions.
    QPDF& pdf = *doc.pdf;
    const bool unrestricted = pdf.allowAccessibility() && pdf.allowExtractAll() &&
                              pdf.allowPrintHighRes() && pdf.allowModifyAll();
    if (!pdf.ownerPasswordMatched() && !unrestricted)
        return PDFMS_ERR_SOURCE_RESTRICTED;
    return PDFMS_OK;
}

int32_t PdfWorker::Unlock(int source, const std::string& password, int32_t& pages) {
    Tidy();
    EncryptRequest request;
    request.source = source;
    request.sourcePassword = password;
    OpenDocument doc;
    std::vector<std::string> warnings;
    pages = 0;
    const int32_t code = OpenLocked(request, doc, pages, warnings);
    WipeSecret(request.sourcePassword);
    if (code != PDFMS_OK)
        pages = 0;
    return code;
}

PdfWorker::PdfWorker() = default;
PdfWorker::~PdfWorker() = default;

bool PdfWorker::MakeKey(int fd, FileKey& key) {
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    key.dev = st.st_dev;
    key.ino = st.st_ino;
    key.size = st.st_size;
    key.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    key.mode = st.st_mode;
    return true;
}

void PdfWorker::Forget() {
    m_doc.reset();
    m_tree.reset();
    m_warnings.clear();
    m_key = FileKey();
}

ProbeAnswer PdfWorker::Probe(int source) {
    Tidy();
    FileKey key;
    if (!MakeKey(source, key)) {
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
    a.openState = doc.Open(source, nullptr);
    if (a.openState == PDFMS_OPEN_ENCRYPTED)
        a.encrypted = 1;
    std::unique_ptr<PageTree> tree;
    if (a.openState == PDFMS_OPEN_OK) {
        a.encrypted = doc.pdf->isEncrypted() ? 1 : 0;
        int32_t pages = -1;
        // qpdf lists the pages by parsing every object stream that holds one:
        // for a file with object streams, walk the tree ourselves when it can be.
        // Also after warnings the one-pass writer follows (a wrong /Size): qpdf's
        // listing would hold every such stream parsed for as long as the file is.
        std::string why;
        std::vector<std::string> warnings = doc.Warnings();
        SourceRepairs followed;
        QPDFObjectHandle trailer = doc.pdf->getTrailer();
        if (!a.encrypted && followed.Follow(warnings, why) &&
            (trailer.getKey("/Type").isNameAndEquals("/XRef") || trailer.hasKey("/XRefStm") ||
             trailer.hasKey("/Prev"))) {
            tree = std::make_unique<PageTree>();
            if (tree->Walk(*doc.pdf, why, warnings))
                pages = tree->pages();
            else
                tree.reset();
        }
        if (!tree)
            pages = doc.CountPages();
        // qpdf keeps what it parsed; what it touched of the mapping may go.
        if (doc.input)
            doc.input->Release();
        for (std::string& w : doc.Warnings())
            warnings.push_back(std::move(w));
        m_warnings = std::move(warnings);
        bool repaired = !m_warnings.empty();
        // Repair that lost every page would write an empty document over content
        // other readers still show.
        if (pages < 0 || (repaired && pages == 0))
            a.openState = PDFMS_OPEN_DAMAGED;
        else
            a.openState = repaired ? PDFMS_OPEN_REPAIRED : PDFMS_OPEN_OK;
        a.pageCount = pages < 0 ? 0 : pages;
    }
    m_key = key;
    m_answer = a;
    if (a.openState == PDFMS_OPEN_OK || a.openState == PDFMS_OPEN_REPAIRED) {
        m_doc = std::move(doc);
        m_tree = std::move(tree);
    } else {
        m_warnings.clear();
    }
    return a;
}

PdfWorker::Job::Job(const EncryptRequest& r) : request(r) {}
PdfWorker::Job::~Job() = default;

WriterChoice PdfWorker::ChooseWriter(Job& job, int32_t openState) {
    // The one-pass writer encrypts what it copies; a source that must be
    // decrypted on the way, or written plain, goes through qpdf's writer.
    if (job.locked)
        return {WriterUsed::Qpdf, "encrypted-source"};
    if (job.request.decrypt)
        return {WriterUsed::Qpdf, "decrypted-output"};
    // What qpdf repaired while the probe read the source must be what the
    // one-pass writer repairs the same way.
    SourceRepairs repairs;
    std::string why;
    if (openState == PDFMS_OPEN_REPAIRED && !repairs.Follow(job.warnings, why))
        return {WriterUsed::Qpdf, why};
    if (!job.window)
        return {WriterUsed::Qpdf, "unparsable-object"};
    if (!job.layout.Read(*job.doc.pdf, *job.window, why)) {
        job.window.reset();
        return {WriterUsed::Qpdf, why};
    }
    repairs.Add(job.layout.repairs());
    return {WriterUsed::OnePass, repairs.Text()};
}

int32_t PdfWorker::Write(Job& job, WriterUsed writer, const std::function<void(int)>& progress) {
    const EncryptRequest& r = job.request;
    // The library made the temporary file, new and with the source's permission
    // bits (the umask applied), so a private source never comes out readable by
    // everyone. A writer owns and closes a descriptor of its own, and starts
    // from an empty file (a second write replaces a failed first).
    int fd = ::fcntl(r.temp, F_DUPFD_CLOEXEC, 0);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) {
        if (fd >= 0)
            ::close(fd);
        return PDFMS_ERR_OUTPUT;
    }
    if (writer == WriterUsed::Qpdf)
        return QpdfEncryptWriter::Write(*job.doc.pdf, r, job.user, job.owner, fd, progress);

    StandardSecurity security;
    std::string id0, id1;
    MakeId(*job.doc.pdf, id0, id1);
    int32_t code = security.Setup(r, id0);
    if (code != PDFMS_OK) {
        ::close(fd);
        return code;
    }
    FileSink sink(fd);
    OnePassWriter out(*job.doc.pdf, job.layout, *job.window, security);
    try {
        out.Write(sink, id0, id1, progress);
        code = sink.Commit() ? PDFMS_OK : PDFMS_ERR_OUTPUT;
        job.written = out.TakeWritten();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        code = sink.failed()              ? PDFMS_ERR_OUTPUT
               : job.window->readFailed() ? PDFMS_ERR_SOURCE_CHANGED
                                          : PDFMS_ERR_ENGINE;
    }
    return code;
}

bool PdfWorker::Check(Job& job, WriterUsed writer) {
    // The written file must read back cleanly with the password it was given;
    // without a user password it must open with none.
    const bool onePass = writer == WriterUsed::OnePass;
    QPDF& source = *job.doc.pdf;
    OutputCheck check;
    check.SetSourceInput(job.doc.input.get());
    bool good = check.Open(job.request.temp, job.user, !job.request.decrypt);
    if (good && onePass)
        good = check.MatchesOnePassWrite(job.written, job.layout, source);
    // qpdf would parse every page, and every object stream that holds one, to
    // list the output's pages anew.
    if (good && onePass && !job.layout.compressed().empty())
        good = check.SamePageTree(source, job.layout, job.written, job.pages, job.tree.get());
    else if (good && onePass)
        good = check.SamePageCount(source, job.pages, job.tree.get());
    else if (good)
        good = check.SamePages(job.pages);
    // A warning the source raises too, when the same objects are read, is the
    // source's: repeated keys and stray '#' are copied as they are.
    std::vector<std::string> known = job.warnings;
    if (onePass)
        known.insert(known.end(), job.layout.warnings().begin(), job.layout.warnings().end());
    for (std::string& w : job.doc.Warnings())
        known.push_back(std::move(w));
    return good && check.NoNewWarnings(known);
}

EncryptResult PdfWorker::Encrypt(const EncryptRequest& r,
                                 const std::function<void(int)>& progress) {
    Tidy();
    EncryptResult result;
    const ProbeAnswer source = Probe(r.source);
    // The source's identity as it was before anything of it was read.
    const FileKey identity = m_key;
    Job job(r);
    job.doc = std::move(m_doc);
    job.tree = std::move(m_tree);
    job.warnings = std::move(m_warnings);
    // The written document shares nothing we want to keep around.
    Forget();
    result.code = PDFMS_ERR_SOURCE;
    job.pages = source.pageCount;
    job.locked = source.openState == PDFMS_OPEN_ENCRYPTED || source.encrypted;
    if (job.locked) {
        result.code = OpenLocked(r, job.doc, job.pages, job.warnings);
        if (result.code != PDFMS_OK)
            return result;
    } else if (!job.doc.pdf) {
        return result;
    }

    // The library puts the user password in for a missing owner password; an
    // empty one here would be a working password that opens an AES-256 output.
    if (!r.decrypt && (r.owner.empty() || !PasswordEncoding::Prepare(r.level, r.user, job.user) ||
                       !PasswordEncoding::Prepare(r.level, r.owner, job.owner))) {
        result.code = PDFMS_ERR_ARGUMENT;
        return result;
    }

    if (!job.locked && !r.decrypt) {
        // The mapping qpdf reads is read in place; a file too big to map through
        // a buffer.
        if (job.doc.input)
            job.window = std::make_unique<SourceWindow>(
                job.doc.input->data(), job.doc.input->status(), SourceLayout::kMaxObjectBytes);
        else
            job.window = SourceWindow::Open(r.source, SourceLayout::kMaxObjectBytes);
        // The file may have been cut or grown since qpdf parsed it.
        if (job.window && (job.window->status().st_dev != identity.dev ||
                           job.window->status().st_ino != identity.ino ||
                           job.window->status().st_size != identity.size)) {
            result.code = PDFMS_ERR_SOURCE_CHANGED;
            return result;
        }
    }
    const WriterChoice choice = ChooseWriter(job, source.openState);
    result.writer = choice.writer;
    result.reason = choice.reason;
    // Release what the probe and the layout touched of the mapped source: the
    // write walks it again, releasing as it goes.
    if (job.doc.input)
        job.doc.input->Release();

    result.code = Write(job, result.writer, progress);
    // The check needs neither the window's buffer nor what the writes touched.
    job.window.reset();
    if (job.doc.input)
        job.doc.input->Release();
    // Whatever else went wrong, a source that changed underneath is the reason:
    // a writer that read a cut file's zeros may have failed on them.
    FileKey after;
    if (result.code != PDFMS_ERR_STOPPED && (!MakeKey(r.source, after) || !(after == identity) ||
                                             (job.doc.input && job.doc.input->cutShort()))) {
        result.code = PDFMS_ERR_SOURCE_CHANGED;
        return result;
    }
    if (result.code == PDFMS_OK && !Check(job, result.writer))
        result.code = PDFMS_ERR_VERIFY;
    // A one-pass write that failed on its own, or whose output the check refused,
    // is done again by qpdf's writer: a fault of the one-pass writer never
    // refuses a file qpdf can write.
    if (result.writer == WriterUsed::OnePass &&
        (result.code == PDFMS_ERR_VERIFY || result.code == PDFMS_ERR_ENGINE)) {
        result.writer = WriterUsed::Qpdf;
        result.reason = "one-pass-failed";
        result.code = Write(job, result.writer, progress);
        if (result.code == PDFMS_OK && !Check(job, result.writer))
            result.code = PDFMS_ERR_VERIFY;
    }
    // Freeing the source's document takes a while on a large file: left to Tidy.
    // (The output's goes now: it holds the temporary file open.)
    m_spentSource = std::move(job.doc);
    return result;
}

void PdfWorker::Tidy() {
    m_spentSource.reset();
}
