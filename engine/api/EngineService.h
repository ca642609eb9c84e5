#pragma once
// The PDF engine as the rest of the program sees it: the EngineService interface,
// and the records and codes its calls take and return (prefixed PdfMS / PDFMS_,
// the engine's own). The program's service is PdfEngineService
// (engine/PdfEngineService.h); tests hand in scripted ones. Callers never include
// anything of the library behind it.
//
// Every path and password is a zero-terminated UTF-8 string valid for the call.

#include <cstdint>

// Progress callback: the engine calls it while it writes a file. Answer 0 to go
// on, PDFMS_PROGRESS_STOP to make the engine abandon the file promptly.
typedef int32_t (*PdfMSProgressFn)(void* userData, int32_t done, int32_t total);

enum : int32_t { PDFMS_PROGRESS_CONTINUE = 0, PDFMS_PROGRESS_STOP = -2 };

// Encryption levels (PdfMSEncryptParams::level).
enum : int32_t {
    PDFMS_LEVEL_RC4_40 = 0,
    PDFMS_LEVEL_RC4_128 = 1,
    PDFMS_LEVEL_AES_128 = 2,
    PDFMS_LEVEL_AES_256 = 3 // passwords are UTF-8
};

// Printing permission (PdfMSEncryptParams::printing).
enum : int32_t {
    PDFMS_PRINT_NONE = 0,
    PDFMS_PRINT_ALLOWED = 1, // 40-bit level: no resolution choice
    PDFMS_PRINT_HIGH = 2,
    PDFMS_PRINT_LOW = 3
};

// Results of GetOpenState.
enum : int32_t {
    PDFMS_OPEN_OK = 0,        // opens and lists its pages without warnings
    PDFMS_OPEN_NOT_PDF = 1,   // no "%PDF-" in its first 1024 bytes
    PDFMS_OPEN_REPAIRED = 2,  // opens and lists its pages only after repair
    PDFMS_OPEN_NOT_FILE = 3,  // not a regular readable file (directory, FIFO, device...)
    PDFMS_OPEN_ENCRYPTED = 4, // needs a password, or an encryption we cannot read
    PDFMS_OPEN_DAMAGED = 5    // looks like a PDF but cannot be opened or paged,
                              // or the engine host crashed, ran out of time or memory
};

// Results of EncryptPdf. 0 is success; every failure has its own code, which the
// batch writes to the log.
enum : int32_t {
    PDFMS_OK = 0,
    PDFMS_ERR_SOURCE = 1,          // source cannot be opened or read (missing, damaged, not a PDF)
    PDFMS_ERR_SOURCE_PASSWORD = 2, // source needs a password
    PDFMS_ERR_OUTPUT = 3,          // output cannot be written (permission, disk full, bad folder)
    PDFMS_ERR_STOPPED = 4,         // the progress callback asked to stop
    PDFMS_ERR_HOST = 5,            // the engine host crashed, ran out of time or memory
    PDFMS_ERR_VERIFY = 6,          // the written file did not reopen with the same pages
    PDFMS_ERR_ENGINE = 7,          // any other engine error
    PDFMS_ERR_ARGUMENT = 8,        // bad arguments (null pointers, unknown level, no password)
    PDFMS_ERR_SOURCE_CHANGED = 9,  // the source changed while it was being encrypted
    PDFMS_ERR_OUTPUT_EXISTS = 10,  // the output name holds a file that may not be replaced
    PDFMS_ERR_SOURCE_RESTRICTED = 11 // an encrypted source opened with its user password
                                     // restricts what may be done with it: lifting the
                                     // restrictions needs its owner password
};

// Which writer made an output (PdfMSOutcome::writer).
enum : int32_t { PDFMS_WRITER_NONE = 0, PDFMS_WRITER_ONE_PASS = 1, PDFMS_WRITER_QPDF = 2 };

// Asked just before an output would replace an existing file (links not followed):
// non-zero allows it. Called on the caller's thread.
typedef int32_t (*PdfMSReplaceFn)(void* data, uint64_t device, uint64_t inode);

// What EncryptPdf tells about a call besides its result, when the caller asks.
struct PdfMSOutcome {
    int32_t writer;      // PDFMS_WRITER_*
    char tempLeft[1024]; // a temporary file the engine could not remove, or ""
    char reason[64];     // why that writer: short stable words (engine/host/WriterChoice.h)
};

struct PdfMSSource {
    const char* path;          // source file
    PdfMSReplaceFn mayReplace; // null: an existing output is replaced
    void* replaceData;         // handed to mayReplace
    PdfMSOutcome* outcome;     // null when not wanted
    intptr_t reserved[3];      // zero
};

struct PdfMSEncryptParams {
    int32_t level;            // PDFMS_LEVEL_*
    const char* userPassword; // password to open; "" when not used
    // Password to change permissions. An output never has an empty owner password
    // (at AES-256 an empty one would open the file with full rights): "" means the
    // user password is the owner password too, at every level, so whoever has it
    // has full rights. Both "" is PDFMS_ERR_ARGUMENT (unless decrypt is set).
    const char* ownerPassword;
    int32_t printing;      // PDFMS_PRINT_*
    int32_t copy;          // content copying
    int32_t modify;        // content modifying
    int32_t annotate;      // annotation adding
    int32_t fillForms;     // form filling
    int32_t accessibility; // content copying for accessibility
    int32_t assemble;      // document assembly
    int32_t reserved;      // always 0
    // An encrypted source is opened with this password (null or "": it is refused).
    // With the owner password it may take new protection; with the user password only
    // when it restricts nothing.
    const char* sourcePassword;
    int32_t decrypt;   // non-zero: write the source without encryption (no level, no passwords)
    int32_t unused[5]; // zero
};

// One service per thread at a time; a service may be used for many files.
class EngineService {
public:
    virtual ~EngineService() = default;

    // Encrypts source into outputPath. Returns PDFMS_OK or a PDFMS_ERR_* code;
    // PDFMS_ERR_ARGUMENT for null records or path.
    virtual int32_t EncryptPdf(const PdfMSSource* source, const char* outputPath,
                               const PdfMSEncryptParams* params, void* userData,
                               PdfMSProgressFn progress) = 0;
    // Number of pages; 0 or less when it cannot be read.
    virtual int32_t GetPageCount(const char* path) = 0;
    // One of PDFMS_OPEN_*.
    virtual int32_t GetOpenState(const char* path) = 0;
    // Non-zero when the file is encrypted (also with an owner password only).
    virtual int32_t IsEncrypted(const char* path) = 0;
    // Opens an encrypted source with password as EncryptPdf would with it as the
    // source password: PDFMS_OK when a run may write the file anew (pageCount, when
    // not null, gets its pages), PDFMS_ERR_SOURCE_PASSWORD for a wrong password,
    // PDFMS_ERR_SOURCE_RESTRICTED for the user password of a file that restricts
    // something, PDFMS_ERR_SOURCE (or PDFMS_ERR_HOST) when it cannot be read.
    virtual int32_t CheckSourcePassword(const char* path, const char* password,
                                        int32_t* pageCount) = 0;
};
