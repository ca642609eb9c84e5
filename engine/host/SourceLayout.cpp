#include "engine/host/SourceLayout.h"

#include "engine/host/PdfScanner.h"
#include "engine/host/SourceWindow.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

namespace {

using Kind = PdfToken::Kind;

// Deeper nesting than this is left to qpdf's writer, which has its own limit.
constexpr int kMaxDepth = 400;
// Most objects are small: a first look of this much, then as much as the object
// may take, read from a buffer refilled this much at a time.
constexpr size_t kFirstView = 4u << 10;
constexpr size_t kHopReadSize = 256u << 10;
constexpr size_t kTailView = 512;
// Free numbers a sound file may leave above its objects.
constexpr int64_t kSpareNumbers = 1 << 20;

// Walks the tokens of one object. `more` is set when the bytes ran out before
// the object did, so a larger view may succeed.
class ValueReader {
public:
    ValueReader(PdfScanner& s, bool clipped) : m_s(s), m_clipped(clipped) {}

    // The next token that is not a comment.
    PdfToken Next(std::string* value = nullptr) {
        PdfToken t;
        do
            t = m_s.Next(value);
        while (t.kind == Kind::Comment);
        // A token that touches the end of a clipped view may continue beyond it.
        if (m_clipped && (t.kind == Kind::End || t.end >= m_s.size()))
            more = true;
        // Names qpdf warns about are copied as they are: every reader reads the
        // same bytes the same way.
        if (t.kind == Kind::Name && !m_s.IsWellFormedName(t))
            strayHash = true;
        return t;
    }

    // Skips one value that starts with `t`; false when it is malformed.
    bool SkipValue(const PdfToken& t) {
        switch (t.kind) {
        case Kind::DictOpen:
        case Kind::ArrayOpen:
            return SkipNested(t.kind);
        case Kind::Name:
        case Kind::String:
            return true;
        case Kind::Word: {
            // "N G R" is one value.
            int64_t v;
            if (!m_s.ToInt(t, v))
                return IsValueWord(t, false);
            size_t back = m_s.pos();
            PdfToken g = Next();
            PdfToken r = Next();
            if (m_s.ToInt(g, v) && r.kind == Kind::Word && m_s.Is(r, "R"))
                return true;
            m_s.seek(back);
            return true;
        }
        default:
            return false;
        }
    }

    // A number, true, false, null, or (inside arrays and dictionaries, where
    // references are not grouped) the R of a reference. qpdf reads any other word
    // in an object as a string, with a warning: such files go to its writer.
    bool IsValueWord(const PdfToken& t, bool allowR) const {
        if (m_s.Is(t, "true") || m_s.Is(t, "false") || m_s.Is(t, "null") ||
            (allowR && m_s.Is(t, "R")))
            return true;
        const char* p = m_s.data() + t.begin;
        const char* end = m_s.data() + t.end;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        bool digit = false, dot = false;
        for (; p < end; ++p) {
            if (*p >= '0' && *p <= '9')
                digit = true;
            else if (*p == '.' && !dot)
                dot = true;
            else
                return false;
        }
        return digit;
    }

    bool more = false;
    bool strayHash = false;

private:
    bool SkipNested(Kind open) {
        // Whether each open level is a dictionary; no allocation per value.
        bool dictionary[kMaxDepth];
        int depth = 0;
        dictionary[depth++] = open == Kind::DictOpen;
        while (depth > 0) {
            PdfToken t = Next();
            switch (t.kind) {
            case Kind::DictOpen:
            case Kind::ArrayOpen:
                if (depth >= kMaxDepth)
                    return false;
                dictionary[depth++] = t.kind == Kind::DictOpen;
                break;
            case Kind::DictClose:
            case Kind::ArrayClose:
                if ((t.kind == Kind::DictClose) != dictionary[depth - 1])
                    return false;
                --depth;
                break;
            case Kind::Name:
                // A signature dictionary inside another object: qpdf's writer
                // knows which of its strings to leave alone.
                if (m_s.Is(t, "/ByteRange"))
                    return false;
                break;
            case Kind::String:
                break;
            case Kind::Word:
                if (!IsValueWord(t, true))
                    return false;
                break;
            default: // Bad, End, braces
                return false;
            }
        }
        return true;
    }

    PdfScanner& m_s;
    bool m_clipped;
};

// std::string's == with a literal measures the literal on every call.
template <size_t N> bool Is(const std::string& s, const char (&word)[N]) {
    return s.size() == N - 1 && std::memcmp(s.data(), word, N - 1) == 0;
}

bool HasName(const char* data, size_t begin, size_t end, const char* name) {
    PdfScanner s(data + begin, end - begin);
    std::string value;
    for (PdfToken t = s.Next(&value); t.kind != Kind::End; t = s.Next(&value))
        if (t.kind == Kind::Name && value == name)
            return true;
    return false;
}

} // namespace

SourceLayout::Parse SourceLayout::ParseObject(const char* data, size_t n, bool clipped,
                                              LaidObject& o, int64_t& length, int& lengthNum,
                                              int& lengthGen) {
    PdfScanner s(data, n);
    s.SetDecodeStrings(false);
    ValueReader r(s, clipped);
    auto fail = [&r] { return r.more ? Parse::NeedMore : Parse::Bad; };
    // qpdf reads the header's tokens from the offset on: white space and
    // comments before them are no fault. Anything else makes it rebuild its
    // table from a scan of the file.
    const uint64_t base = o.offset;
    int64_t v = 0;
    PdfToken t = r.Next();
    const size_t headerAt = t.begin;
    if (!s.ToInt(t, v) || v != o.num)
        return r.more ? Parse::NeedMore : Parse::Misplaced;
    t = r.Next();
    if (!s.ToInt(t, v) || v != o.gen)
        return r.more ? Parse::NeedMore : Parse::Misplaced;
    t = r.Next();
    if (t.kind != Kind::Word || !s.Is(t, "obj"))
        return r.more ? Parse::NeedMore : Parse::Misplaced;
    o.offset = base + headerAt;
    o.bodyStart = base + t.end;

    length = -1;
    lengthNum = -1;
    std::string type;
    bool linearized = false;
    t = r.Next();
    if (t.kind == Kind::DictOpen) {
        o.dictionary = true;
        std::string key, name;
        m_keys.clear();
        bool lengthSeen = false, byteRange = false;
        uint64_t contentsBegin = 0, contentsEnd = 0;
        for (;;) {
            t = r.Next(&key);
            if (t.kind == Kind::DictClose)
                break;
            if (t.kind != Kind::Name)
                return fail();
            // qpdf keeps the last of repeated keys; so does this reading. (Keys
            // are told apart by their bytes: enough to name the repair.)
            const std::string_view raw(data + t.begin, t.end - t.begin);
            for (const auto& k : m_keys)
                if (std::string_view(data + k.first, k.second - k.first) == raw)
                    m_repairs.Add(SourceRepairs::DuplicateKey);
            m_keys.emplace_back(t.begin, t.end);
            PdfToken first = r.Next(&name);
            if (!r.SkipValue(first))
                return fail();
            const size_t valueEnd = s.pos();
            if (Is(key, "Length")) {
                // One value is rewritten; a second one would be left wrong.
                if (lengthSeen)
                    return Parse::Bad;
                lengthSeen = true;
                o.lengthBegin = base + first.begin;
                o.lengthEnd = base + valueEnd;
                PdfScanner ls(data + first.begin, valueEnd - first.begin);
                PdfToken a = ls.Next(), b = ls.Next();
                int64_t g = 0;
                if (b.kind == Kind::End) {
                    // Anything but an integer is repaired as a missing length.
                    if (!ls.ToInt(a, length))
                        length = -1;
                } else if (ls.ToInt(a, v) && ls.ToInt(b, g) && v <= INT32_MAX && g <= 65535) {
                    lengthNum = static_cast<int>(v);
                    lengthGen = static_cast<int>(g);
                }
            } else if (Is(key, "Type")) {
                type = first.kind == Kind::Name ? name : std::string();
            } else if (Is(key, "Filter")) {
                o.crypt = HasName(data, first.begin, valueEnd, "Crypt");
            } else if (Is(key, "Linearized")) {
                linearized = true;
            } else if (Is(key, "Extensions")) {
                o.hasExtensions = true;
            } else if (Is(key, "ByteRange")) {
                byteRange = true;
            } else if (Is(key, "Contents")) {
                contentsBegin = first.kind == Kind::String ? base + first.begin : 0;
                contentsEnd = base + valueEnd;
            }
        }
        // A signature's /Contents stays readable, as qpdf (and PDF 2.0) have it:
        // encrypting it would break the signature for good.
        if (Is(type, "Sig") && byteRange && contentsBegin) {
            o.plainBegin = contentsBegin;
            o.plainEnd = contentsEnd;
        }
    } else if (!r.SkipValue(t)) {
        return fail();
    }
    o.bodyEnd = base + s.pos();

    t = r.Next();
    if (r.more)
        return Parse::NeedMore;
    if (r.strayHash)
        m_repairs.Add(SourceRepairs::StrayHash);
    if (t.kind == Kind::Word && s.Is(t, "endobj")) {
        o.end = base + t.end;
        o.role = linearized ? LaidObject::Role::Linearization : LaidObject::Role::Plain;
        return Parse::Ok;
    }
    if (t.kind != Kind::Word || !s.Is(t, "stream") || !o.dictionary)
        return Parse::Bad;
    // The data starts after one EOL. qpdf also takes white space before the EOL,
    // a CR alone, or no EOL at all (the data then starts at the first byte that
    // is not a space), each with a warning.
    size_t eol = t.end;
    for (;;) {
        if (eol >= n)
            return clipped ? Parse::NeedMore : Parse::Bad;
        const char c = data[eol];
        if (c == '\n') {
            eol += 1;
            break;
        }
        if (c == '\r') {
            if (eol + 1 >= n)
                return clipped ? Parse::NeedMore : Parse::Bad;
            if (data[eol + 1] == '\n') {
                eol += 2;
            } else {
                eol += 1;
                m_repairs.Add(SourceRepairs::StreamEol);
            }
            break;
        }
        m_repairs.Add(SourceRepairs::StreamEol);
        if (c != ' ' && c != '\t' && c != '\f' && c != '\v')
            break;
        ++eol;
    }
    o.dataStart = base + eol;
    o.addLength = o.lengthBegin == 0;
    o.role = Is(type, "XRef")     ? LaidObject::Role::XrefStream
             : Is(type, "ObjStm") ? LaidObject::Role::ObjectStream
                                  : LaidObject::Role::Stream;
    return Parse::Ok;
}

int64_t SourceLayout::IndirectLength(QPDF& pdf, int num, int gen) {
    // An object stream's integers are read without qpdf keeping the stream parsed.
    auto packed = m_streamOf.find(num);
    int64_t value = -1;
    if (gen == 0 && packed != m_streamOf.end() && m_packed.Find(pdf, packed->second, num, value))
        return value;
    try {
        QPDFObjectHandle h = pdf.getObject(num, gen);
        if (h.isInteger())
            return h.getIntValue() < 0 ? 0 : h.getIntValue();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    return -1;
}

namespace {

// One in-use entry of a cross-reference table, for a sum that tells tables apart.
uint64_t Mix(int num, int gen, long long offset) {
    uint64_t h = static_cast<uint64_t>(num) * 0x9e3779b97f4a7c15ull;
    h ^= static_cast<uint64_t>(gen) + (h << 6) + (h >> 2);
    h ^= static_cast<uint64_t>(offset) * 0xc2b2ae3d27d4eb4full;
    return h;
}

// Where qpdf's recovery of a stream's length ends: the first "endstream" or
// "endobj" word from `from` on, found by its "end" (not necessarily after a
// delimiter, as qpdf finds it).
bool FindStreamEnd(SourceWindow& in, uint64_t from, uint64_t& at) {
    constexpr size_t kPiece = 1u << 20;
    static const char kEndstream[] = "endstream";
    static const char kEndobj[] = "endobj";
    uint64_t pos = from;
    while (pos < in.fileSize()) {
        const char* data = nullptr;
        const size_t n = in.View(pos, kPiece, data);
        if (n == 0)
            return false;
        const bool last = pos + n >= in.fileSize();
        // An "end" cut by the piece's end is found again from here.
        size_t resume = n > 2 ? n - 2 : n;
        size_t i = 0;
        while (i + 3 <= n) {
            const void* hit = memmem(data + i, n - i, "end", 3);
            if (!hit)
                break;
            const size_t k = static_cast<size_t>(static_cast<const char*>(hit) - data);
            // Up to ten bytes decide; near the end of a piece, look again from k.
            if (k + 10 > n && !last) {
                resume = k > 0 ? k : n;
                break;
            }
            auto word = [&](const char* w, size_t len) {
                return k + len <= n && std::memcmp(data + k, w, len) == 0 &&
                       (k + len == n ||
                        !PdfScanner::IsRegular(static_cast<unsigned char>(data[k + len])));
            };
            if (word(kEndstream, sizeof kEndstream - 1) || word(kEndobj, sizeof kEndobj - 1)) {
                at = pos + k;
                return true;
            }
            i = k + 1;
        }
        if (last)
            return false;
        pos += resume;
    }
    return false;
}

} // namespace

bool SourceLayout::EndStream(QPDF& pdf, SourceWindow& in, LaidObject& o, int64_t length,
                             int lengthNum, int lengthGen, std::string& why) {
    if (lengthNum >= 0)
        length = IndirectLength(pdf, lengthNum, lengthGen);
    const char* tail = nullptr;
    // The data ends where the length says when "endstream" follows, after any
    // white space and comments.
    bool fits = false;
    if (length >= 0 && static_cast<uint64_t>(length) <= in.fileSize() - o.dataStart) {
        const size_t n = in.View(o.dataStart + static_cast<uint64_t>(length), kTailView, tail);
        PdfScanner s(tail, n);
        PdfToken t;
        do
            t = s.Next();
        while (t.kind == Kind::Comment);
        fits = t.kind == Kind::Word && s.Is(t, "endstream");
    }
    if (!fits) {
        // As qpdf recovers it: up to the first "endstream" or "endobj".
        uint64_t at = 0;
        if (!FindStreamEnd(in, o.dataStart, at) || at == o.dataStart) {
            why = "unparsable-object";
            return false;
        }
        length = static_cast<int64_t>(at - o.dataStart);
        m_repairs.Add(SourceRepairs::StreamLength);
    } else if (o.addLength) {
        // A missing /Length: qpdf recovers it, whatever a reference said.
        m_repairs.Add(SourceRepairs::StreamLength);
    }
    o.dataLength = static_cast<uint64_t>(length);
    const uint64_t dataEnd = o.dataStart + o.dataLength;
    const size_t n = in.View(dataEnd, kTailView, tail);
    PdfScanner s(tail, n);
    PdfToken t;
    do
        t = s.Next();
    while (t.kind == Kind::Comment);
    if (t.kind == Kind::Word && s.Is(t, "endstream")) {
        do
            t = s.Next();
        while (t.kind == Kind::Comment);
    }
    if (t.kind != Kind::Word || !s.Is(t, "endobj")) {
        why = "unparsable-object";
        return false;
    }
    o.end = dataEnd + t.end;
    return true;
}

SourceLayout::Parse SourceLayout::ReadObject(QPDF& pdf, SourceWindow& in, LaidObject& o,
                                             uint64_t next, std::string& why) {
    // An object ends before the next one starts (give or take the white space a
    // next offset may point at): a large first look is never needed, and a
    // second look can take all there may be.
    const uint64_t span = std::min<uint64_t>(next + kTailView, in.fileSize()) - o.offset;
    size_t view = static_cast<size_t>(std::min<uint64_t>(span, kFirstView));
    Parse p = Parse::Bad;
    int64_t length = -1;
    int lengthNum = -1, lengthGen = 0;
    const uint64_t offset = o.offset;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const char* data = nullptr;
        size_t n = in.View(offset, view, data);
        const bool clipped = n < in.fileSize() - offset;
        o = LaidObject{o.num, o.gen, LaidObject::Role::Plain, false, false, false, false, offset};
        p = ParseObject(data, n, clipped, o, length, lengthNum, lengthGen);
        if (p != Parse::NeedMore || n < view)
            break;
        view = static_cast<size_t>(
            std::min<uint64_t>(std::max<uint64_t>(span, kFirstView), kMaxObjectBytes));
    }
    if (p == Parse::NeedMore)
        why = view >= kMaxObjectBytes ? "object-too-large" : "unparsable-object";
    else if (p == Parse::Bad)
        why = "unparsable-object";
    if (p != Parse::Ok || o.dataStart == 0)
        return p;
    return EndStream(pdf, in, o, length, lengthNum, lengthGen, why) ? Parse::Ok : Parse::Bad;
}

uint64_t SourceLayout::TableSignature(QPDF& pdf) {
    uint64_t sum = 0;
    for (const auto& entry : pdf.getXRefTable())
        if (entry.second.getType() == 1)
            sum += Mix(entry.first.getObj(), entry.first.getGen(), entry.second.getOffset());
    return sum;
}

bool SourceLayout::ReadTable(QPDF& pdf, int& highest, std::string& why) {
    m_objects.clear();
    m_compressed.clear();
    m_streamOf.clear();
    m_size = 0;
    m_tableSignature = 0;
    highest = 0;
    std::vector<int> numbers;
    for (const auto& entry : pdf.getXRefTable()) {
        const int num = entry.first.getObj();
        const int gen = entry.first.getGen();
        if (num <= 0 || gen < 0 || gen > 65535) {
            why = "unusual-xref";
            return false;
        }
        numbers.push_back(num);
        highest = std::max(highest, num);
        if (entry.second.getType() == 1) {
            m_tableSignature += Mix(num, gen, entry.second.getOffset());
            // qpdf reads an object at offset 0 as null: its number stays free.
            if (entry.second.getOffset() == 0) {
                m_repairs.Add(SourceRepairs::NullOffset);
                continue;
            }
            LaidObject o;
            o.num = num;
            o.gen = gen;
            o.offset = static_cast<uint64_t>(entry.second.getOffset());
            m_objects.push_back(o);
        } else if (entry.second.getType() == 2 && gen == 0) {
            m_compressed.push_back(
                {num, entry.second.getObjStreamNumber(), entry.second.getObjStreamIndex()});
            m_streamOf[num] = entry.second.getObjStreamNumber();
        } else {
            why = "unusual-xref";
            return false;
        }
    }
    std::sort(numbers.begin(), numbers.end());
    if (std::adjacent_find(numbers.begin(), numbers.end()) != numbers.end()) {
        why = "unusual-xref"; // one number, two generations
        return false;
    }
    QPDFObjectHandle trailer = pdf.getTrailer();
    if (!trailer.getKey("/Root").isIndirect() ||
        (trailer.hasKey("/Info") && !trailer.getKey("/Info").isIndirect()) ||
        trailer.hasKey("/Encrypt")) {
        why = "unusual-xref";
        return false;
    }
    QPDFObjectHandle size = trailer.getKey("/Size");
    if (size.isInteger() && size.getIntValue() > 0 && size.getIntValue() < INT32_MAX - 2)
        m_size = static_cast<int>(size.getIntValue());
    return true;
}

SourceLayout::Pass SourceLayout::ReadObjects(QPDF& pdf, SourceWindow& in, std::string& why,
                                             int& misplaced) {
    int highest = 0;
    if (!ReadTable(pdf, highest, why))
        return Pass::Failed;
    // The new cross-reference section has an entry for every number below the
    // size: numbers far beyond the objects there are would only make it huge.
    const int64_t entries = static_cast<int64_t>(m_objects.size() + m_compressed.size());
    const int64_t sane = 4 * entries + kSpareNumbers;
    if (highest >= sane) {
        why = "sparse-numbers";
        return Pass::Failed;
    }
    // A /Size far beyond the objects is a wrong /Size: the section ends after them.
    if (m_size >= sane)
        m_size = 0;
    m_size = std::max(m_size, highest + 1);

    std::sort(m_objects.begin(), m_objects.end(),
              [](const LaidObject& a, const LaidObject& b) { return a.offset < b.offset; });
    in.SetReadSize(kHopReadSize);
    uint64_t previousEnd = 0;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        LaidObject& o = m_objects[i];
        // An offset inside the object before it misses its own object, as far as
        // qpdf can tell: it rebuilds its table.
        if (o.offset < previousEnd) {
            why = "overlapping-objects";
            misplaced = o.num;
            return Pass::Misplaced;
        }
        const uint64_t next = i + 1 < m_objects.size() ? m_objects[i + 1].offset : in.fileSize();
        const Parse p = ReadObject(pdf, in, o, next, why);
        if (p == Parse::Misplaced) {
            why = "unparsable-object";
            misplaced = o.num;
            return Pass::Misplaced;
        }
        if (p != Parse::Ok)
            return Pass::Failed;
        // Only the file's first object can be its linearization dictionary.
        if (i > 0 && o.role == LaidObject::Role::Linearization)
            o.role = LaidObject::Role::Plain;
        previousEnd = o.end;
    }
    // Object number -> index in m_objects, for the streams that hold objects.
    std::vector<int> byNumber(m_compressed.empty() ? 0 : static_cast<size_t>(m_size), -1);
    for (size_t i = 0; !byNumber.empty() && i < m_objects.size(); ++i)
        byNumber[static_cast<size_t>(m_objects[i].num)] = static_cast<int>(i);
    for (const CompressedObject& c : m_compressed) {
        const int at =
            c.stream > 0 && c.stream < m_size ? byNumber[static_cast<size_t>(c.stream)] : -1;
        if (at < 0 || m_objects[static_cast<size_t>(at)].role != LaidObject::Role::ObjectStream ||
            m_objects[static_cast<size_t>(at)].gen != 0) {
            why = "unusual-xref";
            return Pass::Failed;
        }
    }
    return Pass::Ok;
}

bool SourceLayout::Read(QPDF& pdf, SourceWindow& in, std::string& why) {
    m_repairs.clear();
    m_warnings.clear();
    m_packed = PackedIntegers();
    Pass pass = Pass::Failed;
    try {
        for (int attempt = 0; attempt < 3; ++attempt) {
            int misplaced = 0;
            const size_t warned = pdf.numWarnings();
            pass = ReadObjects(pdf, in, why, misplaced);
            // qpdf may rebuild its table while it reads an indirect /Length for us:
            // then the pass followed a table qpdf no longer reads by.
            if (pass == Pass::Ok && pdf.numWarnings() != warned &&
                TableSignature(pdf) != m_tableSignature) {
                m_repairs.Add(SourceRepairs::XrefRebuilt);
                pass = Pass::Failed;
                why = "unparsable-object";
                continue;
            }
            if (pass != Pass::Misplaced)
                break;
            // An offset that misses its object makes qpdf rebuild its table from a
            // scan of the file once it reads that object: let it, and read the
            // file by the rebuilt table. (It rebuilds at most once.)
            auto o = std::find_if(m_objects.begin(), m_objects.end(),
                                  [&](const LaidObject& x) { return x.num == misplaced; });
            const QPDFObjGen og(o->num, o->gen);
            const uint64_t before = o->offset;
            pdf.getObject(og).isNull();
            const auto table = pdf.getXRefTable();
            auto now = table.find(og);
            if (now != table.end() && now->second.getType() == 1 &&
                static_cast<uint64_t>(now->second.getOffset()) == before)
                break;
            m_repairs.Add(SourceRepairs::XrefRebuilt);
            in.ReleaseMapped(); // qpdf's scan read the whole file
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        pass = Pass::Failed;
        why = "unparsable-object";
    }
    // What qpdf said while we asked it for lengths or made it rebuild its table.
    for (const QPDFExc& w : pdf.getWarnings())
        m_warnings.push_back(w.getMessageDetail());
    if (pass != Pass::Ok)
        return false;
    std::string fallback;
    if (!m_repairs.Follow(m_warnings, fallback)) {
        why = fallback;
        return false;
    }
    if (in.readFailed()) {
        why = "unparsable-object";
        return false;
    }
    return true;
}
