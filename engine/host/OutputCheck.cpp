#include "engine/host/OutputCheck.h"

#include "engine/api/EngineService.h"
#include "engine/host/MappedInput.h"
#include "engine/host/PageTree.h"
#include "engine/host/SourceLayout.h"
#include "engine/host/SourceWindow.h"
#include "engine/host/StreamDecryption.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <unordered_map>

namespace {

// A sample, not the whole file: the check must stay a small part of the write.
constexpr size_t kSampleObjects = 24;
constexpr size_t kSampleStreamBytes = 1u << 20;
constexpr size_t kMaxStreamCompared = 256u << 10;
// qpdf parses long strings slowly; a sample skips objects this big.
constexpr uint64_t kMaxBodyCompared = 64u << 10;

// A value as text. References stay references: qpdf's own unparse looks up
// every reference in a dictionary to leave out nulls, and one in an object
// stream costs a parse of that whole stream.
void Put(QPDFObjectHandle h, std::string& out, const char* skipKey = nullptr) {
    if (h.isArray()) {
        out += '[';
        for (QPDFObjectHandle& item : h.getArrayAsVector()) {
            if (item.isIndirect())
                out += item.getObjGen().unparse(' ') + " R";
            else
                Put(item, out);
            out += ' ';
        }
        out += ']';
    } else if (h.isDictionary()) {
        out += "<<";
        for (auto& [key, value] : h.getDictAsMap()) {
            if (skipKey && key == skipKey)
                continue;
            if (value.isIndirect()) {
                out += key + ' ' + value.getObjGen().unparse(' ') + " R ";
            } else if (!value.isNull()) {
                out += key + ' ';
                Put(value, out);
                out += ' ';
            }
        }
        out += ">>";
    } else {
        out += h.unparseResolved();
    }
}

// The object as text, with what the writer may change left out.
std::string Canonical(QPDFObjectHandle h) {
    std::string out;
    if (h.isStream()) {
        out = "stream ";
        Put(h.getDict(), out, "/Length");
    } else {
        Put(h, out, "/Extensions"); // added to the catalog for AES-256
    }
    return out;
}

// An empty stream's buffer may be null, which memcmp may not be given.
bool SameBytes(const Buffer& a, const Buffer& b) {
    return a.getSize() == b.getSize() &&
           (a.getSize() == 0 || std::memcmp(a.getBuffer(), b.getBuffer(), a.getSize()) == 0);
}

bool Starts(const char* data, size_t n, const std::string& prefix) {
    return n >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

} // namespace

bool OutputCheck::Open(int fd, const std::string& password, bool encrypted) {
    // A bounded buffer, not a mapping: pages of a mapped file just written count
    // in this process's memory as qpdf hops between objects.
    m_fd = fd;
    return m_doc.Open(fd, password.c_str(), false) == PDFMS_OPEN_OK &&
           m_doc.pdf->isEncrypted() == encrypted;
}

bool OutputCheck::SamePages(int32_t pages) {
    return m_doc.CountPages() == pages;
}

bool OutputCheck::SamePageCount(QPDF& source, int32_t pages, const PageTree* walked) {
    try {
        std::set<QPDFObjGen> leaves;
        if (walked) {
            leaves.insert(walked->leaves().begin(), walked->leaves().end());
        } else {
            // In qpdf's cache since the probe listed the source's pages.
            for (const QPDFObjectHandle& page : source.getAllPages())
                leaves.insert(page.getObjGen());
        }
        std::vector<QPDFObjectHandle> todo{m_doc.pdf->getRoot().getKey("/Pages")};
        std::set<QPDFObjGen> seen;
        int32_t counted = 0;
        while (!todo.empty()) {
            QPDFObjectHandle node = todo.back();
            todo.pop_back();
            if (!node.isIndirect() || !seen.insert(node.getObjGen()).second)
                return false;
            if (leaves.count(node.getObjGen())) {
                ++counted;
                continue;
            }
            QPDFObjectHandle kids = node.getKey("/Kids");
            if (!kids.isArray())
                return false;
            for (const QPDFObjectHandle& kid : kids.getArrayAsVector())
                todo.push_back(kid);
        }
        return counted == pages;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

bool OutputCheck::NoNewWarnings(const std::vector<std::string>& sourceWarnings) {
    for (const std::string& w : m_doc.Warnings())
        if (std::find(sourceWarnings.begin(), sourceWarnings.end(), w) == sourceWarnings.end())
            return false;
    return true;
}

SourceWindow* OutputCheck::Output() {
    if (!m_output)
        m_output = SourceWindow::Open(m_fd, 1u << 20);
    return m_output.get();
}

void OutputCheck::ReleaseSource() {
    if (m_sourceInput)
        m_sourceInput->Release();
}

bool OutputCheck::SameObject(QPDF& source, int num, int gen) {
    QPDFObjectHandle a = source.getObject(num, gen);
    QPDFObjectHandle b = m_doc.pdf->getObject(num, gen);
    bool same = a.isStream() == b.isStream() && Canonical(a) == Canonical(b);
    QPDFObjectHandle length = a.isStream() ? a.getDict().getKey("/Length") : QPDFObjectHandle();
    if (same && a.isStream() && length.isInteger() && length.getIntValue() >= 0 &&
        static_cast<uint64_t>(length.getIntValue()) <= kMaxStreamCompared &&
        m_streamBytes < kSampleStreamBytes) {
        auto x = a.getRawStreamData();
        auto y = b.getRawStreamData();
        m_streamBytes += x->getSize();
        same = SameBytes(*x, *y);
    }
    ReleaseSource();
    return same;
}

bool OutputCheck::SamePageTree(QPDF& source, const SourceLayout& layout,
                               const std::vector<OnePassWriter::Written>& written, int32_t pages,
                               const PageTree* walked) {
    try {
        std::unordered_map<int, const LaidObject*> laid;
        size_t objectStreams = 0;
        for (const LaidObject& o : layout.objects()) {
            laid[o.num] = &o;
            objectStreams += o.role == LaidObject::Role::ObjectStream;
        }
        // The output's object streams are decrypted with the key qpdf derived
        // from the password, read where they were written.
        int R = 0, P = 0, V = 0;
        QPDF::encryption_method_e stream = QPDF::e_none, string = QPDF::e_none, file = QPDF::e_none;
        if (!m_doc.pdf->isEncrypted(R, P, V, stream, string, file))
            return false;
        StreamDecryption decryption(m_doc.pdf->getEncryptionKey(), V, R,
                                    stream == QPDF::e_aes || stream == QPDF::e_aesv3);
        SourceWindow* out = Output();
        if (!out)
            return false;
        size_t checked = 0;
        for (const OnePassWriter::Written& w : written) {
            auto it = laid.find(w.num);
            if (it == laid.end() || it->second->role != LaidObject::Role::ObjectStream)
                continue;
            const LaidObject& o = *it->second;
            QPDFObjectHandle x = source.getObject(o.num, o.gen);
            QPDFObjectHandle y = m_doc.pdf->getObject(o.num, o.gen);
            // What a reader takes as the data's length is what was written.
            QPDFObjectHandle length = y.isStream() ? y.getDict().getKey("/Length") : y;
            if (Canonical(x) != Canonical(y) || !length.isInteger() ||
                length.getIntValue() != static_cast<long long>(w.dataLength))
                return false;
            bool same;
            if (m_sourceInput) {
                // The source's bytes are in the mapping, where the layout found them.
                same = decryption.DecryptsTo(*out, w.dataStart, w.dataLength, o.num, o.gen,
                                             m_sourceInput->data() + o.dataStart,
                                             static_cast<size_t>(o.dataLength));
            } else {
                auto b = x.getRawStreamData();
                same = decryption.DecryptsTo(*out, w.dataStart, w.dataLength, o.num, o.gen,
                                             reinterpret_cast<const char*>(b->getBuffer()),
                                             b->getSize());
            }
            ReleaseSource();
            if (!same)
                return false;
            ++checked;
        }
        if (checked != objectStreams)
            return false;
        if (walked) {
            for (const QPDFObjGen& og : walked->nodes())
                if (laid.count(og.getObj()) && !SameObject(source, og.getObj(), og.getGen()))
                    return false;
            return walked->pages() == pages;
        }
        // The source's tree is in qpdf's cache since the probe listed its pages.
        std::vector<QPDFObjectHandle> todo{source.getRoot().getKey("/Pages")};
        std::set<QPDFObjGen> seen;
        int32_t leaves = 0;
        while (!todo.empty()) {
            QPDFObjectHandle node = todo.back();
            todo.pop_back();
            const QPDFObjGen og = node.getObjGen();
            if (!node.isIndirect() || !seen.insert(og).second)
                return false;
            auto it = laid.find(og.getObj());
            if (it != laid.end() && !SameObject(source, og.getObj(), og.getGen()))
                return false;
            QPDFObjectHandle kids = node.getKey("/Kids");
            if (!kids.isArray()) {
                ++leaves;
                continue;
            }
            for (int i = kids.getArrayNItems(); i-- > 0;)
                todo.push_back(kids.getArrayItem(i));
        }
        return leaves == pages;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

bool OutputCheck::MatchesOnePassWrite(const std::vector<OnePassWriter::Written>& written,
                                      const SourceLayout& layout, QPDF& source) {
    try {
        // The cross-reference section as a reader sees it: by number, as many
        // entries in the file as were written, each where it was written.
        const std::map<QPDFObjGen, QPDFXRefEntry> table = m_doc.pdf->getXRefTable();
        constexpr uint64_t kNone = ~uint64_t(0);
        std::vector<uint64_t> offsets(
            table.empty() ? 0 : static_cast<size_t>(table.rbegin()->first.getObj()) + 1, kNone);
        size_t compressed = 0, inFile = 0;
        for (const auto& entry : table) {
            if (entry.second.getType() == 1) {
                offsets[static_cast<size_t>(entry.first.getObj())] =
                    static_cast<uint64_t>(entry.second.getOffset());
                ++inFile;
            } else {
                ++compressed;
            }
        }
        if (compressed != layout.compressed().size() || inFile != written.size())
            return false;
        for (const auto& w : written)
            if (static_cast<size_t>(w.num) >= offsets.size() ||
                offsets[static_cast<size_t>(w.num)] != w.offset)
                return false;

        // Every header and stream end where it was written.
        SourceWindow* out = Output();
        if (!out)
            return false;
        const char* data = nullptr;
        char head[40];
        for (const auto& w : written) {
            const int length = std::snprintf(head, sizeof head, "%d %d obj", w.num, w.gen);
            size_t n = out->View(w.offset, static_cast<size_t>(length), data);
            if (n != static_cast<size_t>(length) || std::memcmp(data, head, n) != 0)
                return false;
            if (w.dataStart) {
                n = out->View(w.dataStart + w.dataLength, 10, data);
                if (!Starts(data, n, "\nendstream"))
                    return false;
            }
        }

        // A spread of objects decrypts to the source's: first, last and between.
        // Numbers from the source's size on are ours; objects in object streams
        // are checked with their streams (SamePageTree).
        std::vector<const OnePassWriter::Written*> copies;
        for (const auto& w : written)
            if (w.num < layout.size() && w.bodyBytes <= kMaxBodyCompared)
                copies.push_back(&w);
        const size_t step = std::max<size_t>(1, copies.size() / kSampleObjects);
        for (size_t i = 0; i < copies.size(); i += step)
            if (!SameObject(source, copies[i]->num, copies[i]->gen))
                return false;
        if (!copies.empty() && !SameObject(source, copies.back()->num, copies.back()->gen))
            return false;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
    return true;
}
