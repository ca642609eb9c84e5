#include "engine/host/QpdfEncryptWriter.h"

#include "engine/api/EngineService.h"
#include "engine/host/FileSink.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <new>

namespace {

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

void SetEncryption(QPDFWriter& w, const EncryptRequest& r, const char* user, const char* owner) {
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

} // namespace

int32_t QpdfEncryptWriter::Write(QPDF& pdf, const EncryptRequest& r, const std::string& user,
                                 const std::string& owner, int fd,
                                 const std::function<void(int)>& progress) {
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
        if (r.decrypt)
            w.setPreserveEncryption(false);
        else
            SetEncryption(w, r, user.c_str(), owner.c_str());
        w.registerProgressReporter(std::make_shared<ProgressForwarder>(progress));
        w.write();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return sink.failed() ? PDFMS_ERR_OUTPUT : PDFMS_ERR_ENGINE;
    }
    return sink.Commit() ? PDFMS_OK : PDFMS_ERR_OUTPUT;
}
