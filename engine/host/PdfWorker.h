#pragma once
// The qpdf work of the engine host: probing and encrypting one file at a time.
// The last probed document stays open, so the probe calls for one file and the
// encryption that follows them parse it once. Files come as descriptors the
// caller holds; nothing here opens a path.

#include "engine/host/EncryptRequest.h"
#include "engine/host/OnePassWriter.h"
#include "engine/host/OpenDocument.h"
#include "engine/host/SourceLayout.h"
#include "engine/host/WriterChoice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class PageTree;
class SourceWindow;

struct ProbeAnswer {
    int32_t openState = 5;
    int32_t encrypted = 0;
    int32_t pageCount = 0;
};

struct EncryptResult {
    int32_t code = 0; // PDFMS_*
    WriterUsed writer = WriterUsed::None;
    std::string reason; // why that writer (WriterChoice.h)
};

class PdfWorker {
public:
    PdfWorker();
    ~PdfWorker();

    // `source`: read-only, the caller's.
    ProbeAnswer Probe(int source);
    // Opens an encrypted source with password as Encrypt would: PDFMS_OK when it
    // may be written anew (pages then holds its page count), or why not.
    int32_t Unlock(int source, const std::string& password, int32_t& pages);
    // `progress` gets percentages while the file is written. Chooses the writer
    // (ChooseWriter), writes, and checks the written file; a one-pass output that
    // fails its check is written again by qpdf's writer.
    EncryptResult Encrypt(const EncryptRequest& request, const std::function<void(int)>& progress);
    // Frees the source document the last encryption read. Probe and Encrypt call
    // it first; the host calls it once its reply is sent, so the caller does not
    // wait for it.
    void Tidy();

private:
    struct FileKey {
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = -1;
        int64_t mtimeNs = 0;
        mode_t mode = 0;
        bool operator==(const FileKey& o) const {
            return dev == o.dev && ino == o.ino && size == o.size && mtimeNs == o.mtimeNs;
        }
    };
    // What the encryption of one source works with.
    struct Job {
        const EncryptRequest& request;
        OpenDocument doc;
        std::unique_ptr<PageTree> tree;
        std::vector<std::string> warnings; // qpdf's about the source, so far
        int32_t pages = 0;
        bool locked = false;
        std::string user, owner; // encoded passwords
        SourceLayout layout;     // for the one-pass writer
        std::unique_ptr<SourceWindow> window;
        std::vector<OnePassWriter::Written> written;
        explicit Job(const EncryptRequest& r);
        ~Job();
    };

    // The one writer choice: the one-pass writer for a source it can copy as
    // qpdf reads it (the layout is then read), else qpdf's, with the reason.
    static WriterChoice ChooseWriter(Job& job, int32_t openState);
    static int32_t Write(Job& job, WriterUsed writer, const std::function<void(int)>& progress);
    static bool Check(Job& job, WriterUsed writer);
    static bool MakeKey(int fd, FileKey& key);
    // Opens an encrypted source with the request's source password; PDFMS_OK when
    // it may be written anew, with its page count and qpdf's warnings.
    static int32_t OpenLocked(const EncryptRequest& request, OpenDocument& doc, int32_t& pages,
                              std::vector<std::string>& warnings);
    void Forget();

    FileKey m_key;
    ProbeAnswer m_answer;
    OpenDocument m_doc;                  // open document of m_key, when it opened
    std::unique_ptr<PageTree> m_tree;    // its page tree, when walked without qpdf
    std::vector<std::string> m_warnings; // what qpdf said while probing it
    OpenDocument m_spentSource;          // of the last encryption, for Tidy
};
