#include "QdfView.h"

#include "PopplerCheck.h"
#include "TempDir.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

std::string QdfView(const std::string& path, const std::string& password) {
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(path.c_str(), password.c_str());
        QPDFObjectHandle trailer = pdf.getTrailer();
        for (const std::string& key : trailer.getKeys())
            if (key != "/Root" && key != "/Info" && key != "/Size")
                trailer.removeKey(key);
        QPDFObjectHandle extensions = pdf.getRoot().getKey("/Extensions");
        if (extensions.isDictionary() && extensions.getKey("/ADBE").isDictionary() &&
            extensions.getKey("/ADBE").getKey("/ExtensionLevel").isInteger() &&
            extensions.getKey("/ADBE").getKey("/ExtensionLevel").getIntValue() == 8)
            pdf.getRoot().removeKey("/Extensions");
        QPDFWriter w(pdf);
        w.setOutputMemory();
        w.setQDFMode(true);
        w.setDecodeLevel(qpdf_dl_none);
        w.setObjectStreamMode(qpdf_o_disable);
        w.setPreserveEncryption(false);
        w.setStaticID(true);
        w.setSuppressOriginalObjectIDs(true);
        w.forcePDFVersion("1.7");
        w.write();
        auto buffer = w.getBufferSharedPointer();
        return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    } catch (const std::exception&) {
        return std::string();
    }
}

std::string FirstPageImage(const std::string& path, const std::string& password) {
    TempDir dir;
    std::string cmd = "pdftoppm -r 24 -f 1 -l 1 -singlefile ";
    if (!password.empty())
        cmd += "-upw " + ShellQuote(password) + " ";
    if (RunCommand(cmd + ShellQuote(path) + " " + ShellQuote(dir.file("page"))).status != 0)
        return std::string();
    return TempDir::ReadFile(dir.file("page.ppm"));
}
