#include "engine/host/OnePassWriter.h"

#include "engine/host/FileSink.h"
#include "engine/host/LiteralString.h"
#include "engine/host/ObjectCipher.h"
#include "engine/host/PdfScanner.h"
#include "engine/host/SourceLayout.h"
#include "engine/host/SourceWindow.h"
#include "engine/host/StandardSecurity.h"
#include "engine/host/XrefWriter.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr size_t kCopyPiece = 1u << 20;
constexpr size_t kReadSize = 4u << 20;
const char kExtensions[] = " /Extensions << /ADBE << /BaseVersion /1.7 /ExtensionLevel 8 >> >>";

// "1.4" -> 14; anything unreadable counts as 1.0.
int VersionNumber(const std::string& v) {
    size_t dot = v.find('.');
    if (dot == std::string::npos)
        return 10;
    const int major = static_cast<int>(std::strtol(v.substr(0, dot).c_str(), nullptr, 10));
    const int minor = static_cast<int>(std::strtol(v.substr(dot + 1).c_str(), nullptr, 10));
    if (major < 1 || major > 9 || minor < 0 || minor > 9)
        return 10;
    return major * 10 + minor;
}

std::string Ref(const QPDFObjectHandle& h) {
    return std::to_string(h.getObjectID()) + " " + std::to_string(h.getGeneration()) + " R";
}

} // namespace

OnePassWriter::OnePassWriter(QPDF& pdf, const SourceLayout& layout, SourceWindow& in,
                             const StandardSecurity& security)
    : m_pdf(pdf), m_layout(layout), m_in(in), m_security(security) {}

void OnePassWriter::Put(FileSink& sink, const std::string& s) {
    sink.write(reinterpret_cast<const unsigned char*>(s.data()), s.size());
    m_written += s.size();
    // A full disk ends the file now rather than after encrypting the rest for nothing.
    if (sink.failed())
        throw std::runtime_error("output write failed");
}

// The version line; for AES-256 below PDF 2.0 the catalog gains Adobe's
// extension level 8 when it is a dictionary we can edit, else the file says 2.0.
std::string OnePassWriter::Header(bool xrefStream, bool& editCatalog) {
    editCatalog = false;
    int source = VersionNumber(m_pdf.getPDFVersion());
    int version = std::max(source, m_security.minVersion());
    if (xrefStream)
        version = std::max(version, 15);
    if (m_security.R() == 6 && version < 20 && m_pdf.getExtensionLevel() < 8) {
        const int root = m_pdf.getTrailer().getKey("/Root").getObjectID();
        auto it = std::find_if(m_layout.objects().begin(), m_layout.objects().end(),
                               [root](const LaidObject& o) { return o.num == root; });
        if (it != m_layout.objects().end() && it->role == LaidObject::Role::Plain &&
            it->dictionary && !it->hasExtensions)
            editCatalog = true;
        else
            version = 20;
    }
    return "%PDF-" + std::to_string(version / 10) + "." + std::to_string(version % 10) +
           "\n%\xbf\xf7\xa2\xfe\n";
}

void OnePassWriter::CopyBody(const char* data, size_t size, const LaidObject& o,
                             ObjectCipher& cipher, bool editCatalog, uint64_t newLength) {
    PdfScanner s(data, size);
    const size_t lengthBegin = o.lengthBegin ? static_cast<size_t>(o.lengthBegin - o.bodyStart) : 0;
    const size_t lengthEnd = o.lengthBegin ? static_cast<size_t>(o.lengthEnd - o.bodyStart) : 0;
    const size_t plainBegin = o.plainBegin ? static_cast<size_t>(o.plainBegin - o.bodyStart) : 0;
    const size_t plainEnd = o.plainBegin ? static_cast<size_t>(o.plainEnd - o.bodyStart) : 0;
    bool addLength = o.addLength && o.dataStart != 0;
    size_t copied = 0;
    for (;;) {
        PdfToken t = s.Next(&m_value);
        if (t.kind == PdfToken::Kind::End)
            break;
        if (o.lengthBegin && t.begin == lengthBegin) {
            m_out.append(data + copied, t.begin - copied);
            m_out += std::to_string(newLength);
            s.seek(lengthEnd);
            copied = lengthEnd;
        } else if (o.plainBegin && t.begin == plainBegin) {
            m_out.append(data + copied, plainEnd - copied);
            s.seek(plainEnd);
            copied = plainEnd;
        } else if (t.kind == PdfToken::Kind::String) {
            m_out.append(data + copied, t.begin - copied);
            m_scratch.clear();
            cipher.EncryptString(m_value, m_scratch);
            LiteralString::Append(m_out, m_scratch.data(), m_scratch.size());
            copied = t.end;
        } else if ((editCatalog || addLength) && t.kind == PdfToken::Kind::DictOpen) {
            m_out.append(data + copied, t.end - copied);
            if (editCatalog)
                m_out += kExtensions;
            // A stream whose /Length was missing gets the length readers recovered.
            if (addLength)
                m_out += " /Length " + std::to_string(newLength);
            copied = t.end;
            editCatalog = addLength = false;
        }
    }
    m_out.append(data + copied, size - copied);
}

void OnePassWriter::CopyObject(FileSink& sink, const LaidObject& o, ObjectCipher& cipher,
                               bool editCatalog) {
    cipher.SetObject(o.num, o.gen);
    const bool stream = o.dataStart != 0;
    // Crypt filters exist from V4 on; below that a reader decrypts every stream.
    const bool encryptData = stream && !(o.crypt && m_security.V() >= 4);
    const uint64_t newLength = encryptData ? cipher.EncryptedSize(o.dataLength) : o.dataLength;
    const char* data = nullptr;
    const size_t bodySize = static_cast<size_t>(o.bodyEnd - o.bodyStart);
    if (m_in.View(o.bodyStart, bodySize, data) != bodySize)
        throw std::runtime_error("source read failed");
    m_out.clear();
    m_out += std::to_string(o.num) + " " + std::to_string(o.gen) + " obj";
    CopyBody(data, bodySize, o, cipher, editCatalog, newLength);
    Written w{o.num, o.gen, m_written, 0, 0, bodySize};
    if (!stream) {
        m_records.push_back(w);
        m_out += "\nendobj\n";
        Put(sink, m_out);
        return;
    }
    m_out += "\nstream\n";
    w.dataStart = m_written + m_out.size();
    w.dataLength = newLength;
    m_records.push_back(w);
    if (encryptData)
        cipher.Begin(m_out);
    uint64_t pos = o.dataStart;
    const uint64_t end = o.dataStart + o.dataLength;
    while (pos < end) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(kCopyPiece, end - pos));
        const size_t got = m_in.View(pos, want, data);
        if (got != want)
            throw std::runtime_error("source read failed");
        if (encryptData)
            cipher.Update(data, got, m_out);
        else
            m_out.append(data, got);
        pos += got;
        Put(sink, m_out);
        m_out.clear();
    }
    if (encryptData)
        cipher.Finish(m_out);
    m_out += "\nendstream\nendobj\n";
    Put(sink, m_out);
}

void OnePassWriter::Write(FileSink& sink, const std::string& id0, const std::string& id1,
                          const std::function<void(int)>& progress) {
    const std::vector<LaidObject>& objects = m_layout.objects();
    m_encryptNum = m_layout.size();
    const bool xrefStream = !m_layout.compressed().empty();
    XrefWriter xref(m_layout.size() + (xrefStream ? 2 : 1));
    bool editCatalog = false;
    Put(sink, Header(xrefStream, editCatalog));

    QPDFObjectHandle trailer = m_pdf.getTrailer();
    QPDFObjectHandle root = trailer.getKey("/Root");
    const int rootNum = root.getObjectID();
    m_records.clear();
    m_records.reserve(objects.size() + 2);
    ObjectCipher cipher(m_security.fileKey(), m_security.V(), m_security.R(), m_security.aes());
    m_in.SetReadSize(kReadSize);
    const uint64_t total = std::max<uint64_t>(m_in.fileSize(), 1);
    int lastPercent = -1;
    for (const LaidObject& o : objects) {
        if (o.role == LaidObject::Role::XrefStream || o.role == LaidObject::Role::Linearization) {
            xref.SetSkipped(o.num, o.gen);
            continue;
        }
        xref.SetOffset(o.num, o.gen, m_written);
        CopyObject(sink, o, cipher, editCatalog && o.num == rootNum);
        const int percent = static_cast<int>(o.end * 100 / total);
        if (percent != lastPercent) {
            lastPercent = percent;
            progress(std::min(percent, 99));
        }
    }
    for (const CompressedObject& c : m_layout.compressed())
        xref.SetCompressed(c.num, c.stream, c.index);

    m_editedCatalog = editCatalog;
    m_records.push_back(Written{m_encryptNum, 0, m_written, 0, 0});
    xref.SetOffset(m_encryptNum, 0, m_written);
    Put(sink, std::to_string(m_encryptNum) + " 0 obj\n" + m_security.Dictionary() + "\nendobj\n");

    std::string keys = "/Root " + Ref(root);
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (info.isIndirect())
        keys += " /Info " + Ref(info);
    keys += " /ID [" + StandardSecurity::Hex(id0) + StandardSecurity::Hex(id1) + "] /Encrypt " +
            std::to_string(m_encryptNum) + " 0 R";
    if (xrefStream)
        m_records.push_back(Written{m_encryptNum + 1, 0, m_written, 0, 0});
    m_written += xref.Write(sink, m_written, keys, m_encryptNum + 1);
}
