#pragma once
// The qpdf work of the engine host: probing and encrypting one file at a time.
// The last probed document stays open, so the probe calls for one file and the
// encryption that follows them parse it once.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>

class QPDF;
class MappedInput;

// An open document with the mapped file it reads from; the document goes first.
struct OpenDocument {
    std::unique_ptr<MappedInput> input;
    std::unique_ptr<QPDF> pdf;
    OpenDocument();
    OpenDocument(OpenDocument&&) noexcept;
    OpenDocument& operator=(OpenDocument&&) noexcept;
    ~OpenDocument();
    void reset();
};

struct ProbeAnswer {
    int32_t openState = 5;
    int32_t encrypted = 0;
    int32_t pageCount = 0;
};

struct EncryptRequest {
    std::string source;
    std::string temp; // created here, left for the caller to rename or remove
    int32_t level = 2;
    std::string user;
    std::string owner;
    int32_t printing = 0;
    bool copy = false, modify = false, annotate = false, forms = false;
    bool accessibility = false, assemble = false;
};

class PdfWorker {
public:
    PdfWorker();
    ~PdfWorker();

    ProbeAnswer Probe(const std::string& path);
    // Returns a PDFMS_* code. `progress` gets percentages while the file is written.
    int32_t Encrypt(const EncryptRequest& request, const std::function<void(int)>& progress);

private:
    struct FileKey {
        std::string path;
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = -1;
        int64_t mtimeNs = 0;
        bool operator==(const FileKey& o) const {
            return path == o.path && dev == o.dev && ino == o.ino && size == o.size &&
                   mtimeNs == o.mtimeNs;
        }
    };
    static bool MakeKey(const std::string& path, FileKey& key);
    void Forget();

    FileKey m_key;
    ProbeAnswer m_answer;
    OpenDocument m_doc; // open document of m_key, when it opened
};
