#include "engine/host/OutputCheck.h"

#include "engine/api/PdfMSService.h"
#include "engine/host/PageTree.h"
#include "engine/host/SourceLayout.h"
#include "engine/host/SourceWindow.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
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

// The object as text, with what the writer may change left out.
std::string Canonical(QPDFObjectHandle h) {
    if (h.isStream()) {
        QPDFObjectHandle d = h.getDict().shallowCopy();
        d.removeKey("/Length");
        return "stream " + d.unparse();
    }
    if (h.isDictionary()) {
        QPDFObjectHandle d = h.shallowCopy();
        d.removeKey("/Extensions"); // added to the catalog for AES-256
        return d.unparse();
    }
    return h.unparseResolved(); // the value, not "N G R"
}

bool Starts(const char* data, size_t n, const std::string& prefix) {
    return n >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

} // namespace

bool OutputCheck::Open(const std::string& path, const std::string& password, bool encrypted) {
    // A bounded buffer, not a mapping: pages of a mapped file just written count
    // in this process's memory as qpdf hops between objects.
    return m_doc.Open(path, password.c_str(), false) == PDFMS_OPEN_OK &&
           m_doc.pdf->isEncrypted() == encrypted;
}

bool OutputCheck::SamePages(int32_t pages) {
    return m_doc.CountPages() == pages;
}

bool OutputCheck::NoNewWarnings(const std::vector<std::string>& sourceWarnings) {
    for (const std::string& w : m_doc.Warnings())
        if (std::find(sourceWarnings.begin(), sourceWarnings.end(), w) == sourceWarnings.end())
            return false;
    return true;
}

bool OutputCheck::SameObject(QPDF& source, int num, int gen) {
    QPDFObjectHandle a = source.getObject(num, gen);
    QPDFObjectHandle b = m_doc.pdf->getObject(num, gen);
    if (a.isStream() != b.isStream() || Canonical(a) != Canonical(b))
        return false;
    if (!a.isStream())
        return true;
    QPDFObjectHandle length = a.getDict().getKey("/Length");
    if (!length.isInteger() || length.getIntValue() < 0 ||
        static_cast<uint64_t>(length.getIntValue()) > kMaxStreamCompared ||
        m_streamBytes >= kSampleStreamBytes)
        return true;
    auto x = a.getRawStreamData();
    auto y = b.getRawStreamData();
    m_streamBytes += x->getSize();
    return x->getSize() == y->getSize() &&
           std::memcmp(x->getBuffer(), y->getBuffer(), x->getSize()) == 0;
}

bool OutputCheck::SamePageTree(QPDF& source, const SourceLayout& layout, int32_t pages,
                               const PageTree* walked) {
    try {
        std::unordered_map<int, const LaidObject*> laid;
        for (const LaidObject& o : layout.objects()) {
            laid[o.num] = &o;
            if (o.role != LaidObject::Role::ObjectStream)
                continue;
            QPDFObjectHandle x = source.getObject(o.num, o.gen);
            QPDFObjectHandle y = m_doc.pdf->getObject(o.num, o.gen);
            auto a = x.getRawStreamData();
            auto b = y.getRawStreamData();
            if (Canonical(x) != Canonical(y) || a->getSize() != b->getSize() ||
                std::memcmp(a->getBuffer(), b->getBuffer(), a->getSize()) != 0)
                return false;
        }
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

bool OutputCheck::MatchesOnePassWrite(const std::string& path,
                                      const std::vector<OnePassWriter::Written>& written,
                                      const SourceLayout& layout, QPDF& source) {
    try {
        // The cross-reference section as a reader sees it.
        std::map<int, uint64_t> offsets;
        size_t compressed = 0;
        for (const auto& entry : m_doc.pdf->getXRefTable()) {
            if (entry.second.getType() == 1)
                offsets[entry.first.getObj()] = static_cast<uint64_t>(entry.second.getOffset());
            else
                ++compressed;
        }
        if (compressed != layout.compressed().size() || offsets.size() != written.size())
            return false;
        for (const auto& w : written) {
            auto it = offsets.find(w.num);
            if (it == offsets.end() || it->second != w.offset)
                return false;
        }

        // Every header and stream end where it was written.
        std::unique_ptr<SourceWindow> out = SourceWindow::Open(path, 1u << 20);
        if (!out)
            return false;
        const char* data = nullptr;
        for (const auto& w : written) {
            std::string head = std::to_string(w.num) + " " + std::to_string(w.gen) + " obj";
            size_t n = out->View(w.offset, head.size(), data);
            if (!Starts(data, n, head))
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
