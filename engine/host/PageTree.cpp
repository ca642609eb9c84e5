#include "engine/host/PageTree.h"

#include "engine/host/PdfScanner.h"
#include "engine/host/SourceRepairs.h"
#include "engine/host/StrictObjectReader.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <new>
#include <set>

namespace {

// Deeper trees are left to qpdf, which the host runs with a large stack.
constexpr size_t kMaxTreeDepth = 256;
constexpr long long kMaxObjectsPerStream = 1 << 20;

// What the walk needs of an object qpdf reads, resolving the object itself and
// never a value that is a reference (which might sit in an object stream).
NodeFacts FromHandle(QPDFObjectHandle h) {
    NodeFacts f;
    if (!h.isDictionary())
        return f;
    f.dictionary = true;
    QPDFObjectHandle type = h.getKey("/Type");
    if (!type.isIndirect() && type.isName())
        f.type = type.getName().substr(1);
    f.hasKids = h.hasKey("/Kids");
    QPDFObjectHandle kids = h.getKey("/Kids");
    if (!kids.isIndirect() && kids.isArray()) {
        f.kidsAreReferences = true;
        for (int i = 0, n = kids.getArrayNItems(); i < n; ++i) {
            QPDFObjectHandle kid = kids.getArrayItem(i);
            if (!kid.isIndirect()) {
                f.kidsAreReferences = false;
                break;
            }
            f.kids.emplace_back(kid.getObjectID(), kid.getGeneration());
        }
    }
    f.hasParent = h.hasKey("/Parent");
    QPDFObjectHandle pages = h.getKey("/Pages");
    if (pages.isIndirect())
        f.pages = {pages.getObjectID(), pages.getGeneration()};
    return f;
}

std::string Describe(int num) {
    return "object " + std::to_string(num);
}

} // namespace

PageTree::PageTree() = default;
PageTree::~PageTree() = default;

bool PageTree::LoadStream(QPDF& pdf, int stream, std::string& why) {
    auto known = m_loaded.find(stream);
    if (known != m_loaded.end()) {
        if (!known->second)
            why = "object stream " + std::to_string(stream) + " could not be read";
        return known->second;
    }
    m_loaded[stream] = false;
    why = "object stream " + std::to_string(stream) + " is unusual";
    auto entry = m_xref.find(stream);
    if (entry == m_xref.end() || entry->second.type != 1 || entry->second.gen != 0)
        return false;
    QPDFObjectHandle s = pdf.getObject(stream, 0);
    if (!s.isStream())
        return false;
    QPDFObjectHandle dict = s.getDict();
    QPDFObjectHandle type = dict.getKey("/Type");
    QPDFObjectHandle count = dict.getKey("/N");
    QPDFObjectHandle first = dict.getKey("/First");
    if (type.isIndirect() || !type.isName() || type.getName() != "/ObjStm" || count.isIndirect() ||
        !count.isInteger() || count.getIntValue() < 1 ||
        count.getIntValue() > kMaxObjectsPerStream || first.isIndirect() || !first.isInteger() ||
        first.getIntValue() < 0)
        return false;
    std::shared_ptr<Buffer> data = s.getStreamData(qpdf_dl_specialized);
    const char* bytes = reinterpret_cast<const char*>(data->getBuffer());
    const size_t size = data->getSize();
    const size_t start = static_cast<size_t>(first.getIntValue());
    if (start > size)
        return false;

    // "number offset" pairs, then nothing but white space up to /First.
    PdfScanner header(bytes, start);
    std::vector<std::pair<int, size_t>> objects;
    std::set<int> numbers;
    for (long long i = 0; i < count.getIntValue(); ++i) {
        int64_t num = 0, offset = 0;
        const PdfToken a = header.Next();
        const PdfToken b = header.Next();
        if (!header.ToInt(a, num) || !header.ToInt(b, offset) || num < 1 || num == stream ||
            num > 0x7fffffff || !numbers.insert(static_cast<int>(num)).second ||
            static_cast<uint64_t>(offset) > size - start ||
            (!objects.empty() && start + static_cast<size_t>(offset) <= objects.back().second))
            return false;
        objects.emplace_back(static_cast<int>(num), start + static_cast<size_t>(offset));
    }
    if (header.Next().kind != PdfToken::Kind::End)
        return false;

    // qpdf reads every object of the stream once it touches one: so do we, to
    // know it would not warn.
    for (size_t i = 0; i < objects.size(); ++i) {
        const size_t begin = objects[i].second;
        const size_t end = i + 1 < objects.size() ? objects[i + 1].second : size;
        NodeFacts facts;
        if (!StrictObjectReader::Read(bytes + begin, end - begin, facts, &m_raised)) {
            why = Describe(objects[i].first) + " in object stream " + std::to_string(stream) +
                  " is unusual";
            return false;
        }
        // Only what may be a node is kept: a file with a million small objects
        // must not cost a million entries. (Any other object in the tree makes
        // qpdf warn, so the walk gives up on it anyway.)
        auto e = m_xref.find(objects[i].first);
        if (e != m_xref.end() && e->second.type == 2 && e->second.stream == stream &&
            (facts.type == "Page" || facts.type == "Pages" || facts.type == "Catalog"))
            m_inStreams[objects[i].first] = std::move(facts);
    }
    m_loaded[stream] = true;
    why.clear();
    return true;
}

bool PageTree::Facts(QPDF& pdf, QPDFObjGen og, NodeFacts& facts, std::string& why) {
    auto entry = m_xref.find(og.getObj());
    if (entry == m_xref.end() || entry->second.gen != og.getGen()) {
        why = Describe(og.getObj()) + " is not in the cross-reference table";
        return false;
    }
    if (entry->second.type == 1) {
        facts = FromHandle(pdf.getObject(og));
        return true;
    }
    if (!LoadStream(pdf, entry->second.stream, why))
        return false;
    auto found = m_inStreams.find(og.getObj());
    if (found == m_inStreams.end()) {
        why = Describe(og.getObj()) + " is not a catalog, page or page-tree node";
        return false;
    }
    facts = found->second;
    return true;
}

bool PageTree::Walk(QPDF& pdf, std::string& why, std::vector<std::string>& raised) {
    m_leaves.clear();
    m_nodes.clear();
    bool walked = false;
    try {
        const size_t warnings = pdf.numWarnings();
        for (const auto& e : pdf.getXRefTable()) {
            const int type = e.second.getType();
            if (type == 1)
                m_xref[e.first.getObj()] = Entry{1, e.first.getGen(), 0};
            else if (type == 2)
                m_xref[e.first.getObj()] =
                    Entry{2, e.first.getGen(), e.second.getObjStreamNumber()};
        }
        walked = WalkFrom(pdf, why);
        // What qpdf said reading objects for the walk (it will not say it again),
        // and, for a walk that stands, what it would say reading the object
        // streams the walk read itself.
        if (pdf.numWarnings() != warnings)
            for (const QPDFExc& w : pdf.getWarnings())
                raised.push_back(w.getMessageDetail());
        if (walked)
            raised.insert(raised.end(), m_raised.begin(), m_raised.end());
        SourceRepairs followed;
        std::string fallback;
        if (walked && !followed.Follow(raised, fallback)) {
            why = "qpdf warned while the tree was read";
            walked = false;
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        why = e.what();
        walked = false;
    }
    // Only the answer is kept.
    m_xref.clear();
    m_inStreams.clear();
    m_loaded.clear();
    m_raised.clear();
    if (!walked) {
        m_leaves.clear();
        m_nodes.clear();
    }
    return walked;
}

bool PageTree::WalkFrom(QPDF& pdf, std::string& why) {
    QPDFObjectHandle root = pdf.getTrailer().getKey("/Root");
    NodeFacts catalog;
    if (!root.isIndirect() || !Facts(pdf, root.getObjGen(), catalog, why))
        return false;
    if (!catalog.dictionary || catalog.type != "Catalog" || catalog.pages.first == 0) {
        why = "the catalog is unusual";
        return false;
    }
    struct Todo {
        QPDFObjGen og;
        size_t depth;
    };
    std::vector<Todo> todo{{QPDFObjGen(catalog.pages.first, catalog.pages.second), 0}};
    std::set<QPDFObjGen> seen;
    while (!todo.empty()) {
        const Todo node = todo.back();
        todo.pop_back();
        // qpdf copies a page listed twice and stops at a node listed twice.
        if (!seen.insert(node.og).second) {
            why = Describe(node.og.getObj()) + " is in the tree twice";
            return false;
        }
        NodeFacts f;
        if (!Facts(pdf, node.og, f, why))
            return false;
        why = Describe(node.og.getObj()) + " is an unusual page or page-tree node";
        // The root has kids and no parent, else qpdf goes looking for the real root.
        if (!f.dictionary || (node.depth == 0 && (f.hasParent || !f.hasKids)))
            return false;
        m_nodes.push_back(node.og);
        if (!f.hasKids) {
            if (f.type != "Page")
                return false;
            m_leaves.push_back(node.og);
            continue;
        }
        if (f.type != "Pages" || !f.kidsAreReferences || node.depth >= kMaxTreeDepth)
            return false;
        for (auto kid = f.kids.rbegin(); kid != f.kids.rend(); ++kid)
            todo.push_back({QPDFObjGen(kid->first, kid->second), node.depth + 1});
    }
    why.clear();
    return true;
}
