#include "engine/host/SourceLayout.h"

#include "engine/host/PdfScanner.h"
#include "engine/host/SourceWindow.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <climits>
#include <cstring>

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
        // Names qpdf warns about send the file to its writer.
        if (t.kind == Kind::Name && !m_s.IsWellFormedName(t))
            t.kind = Kind::Bad;
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
    int64_t v = 0;
    // The offset must name the object itself, not white space before it.
    if (n == 0 || PdfScanner::IsWhite(static_cast<unsigned char>(data[0])))
        return Parse::Bad;
    PdfToken t = r.Next();
    if (!s.ToInt(t, v) || v != o.num)
        return fail();
    t = r.Next();
    if (!s.ToInt(t, v) || v != o.gen)
        return fail();
    t = r.Next();
    if (t.kind != Kind::Word || !s.Is(t, "obj"))
        return fail();
    o.bodyStart = o.offset + t.end;

    length = -1;
    lengthNum = -1;
    std::string type;
    bool linearized = false;
    t = r.Next();
    if (t.kind == Kind::DictOpen) {
        o.dictionary = true;
        std::string key, name;
        bool lengthSeen = false, byteRange = false;
        uint64_t contentsBegin = 0, contentsEnd = 0;
        for (;;) {
            t = r.Next(&key);
            if (t.kind == Kind::DictClose)
                break;
            if (t.kind != Kind::Name)
                return fail();
            PdfToken first = r.Next(&name);
            if (!r.SkipValue(first))
                return fail();
            const size_t valueEnd = s.pos();
            if (Is(key, "Length")) {
                if (lengthSeen)
                    return Parse::Bad;
                lengthSeen = true;
                o.lengthBegin = o.offset + first.begin;
                o.lengthEnd = o.offset + valueEnd;
                PdfScanner ls(data + first.begin, valueEnd - first.begin);
                PdfToken a = ls.Next(), b = ls.Next();
                int64_t g = 0;
                if (b.kind == Kind::End) {
                    if (!ls.ToInt(a, length))
                        return Parse::Bad;
                } else if (ls.ToInt(a, v) && ls.ToInt(b, g) && v <= INT32_MAX && g <= 65535) {
                    lengthNum = static_cast<int>(v);
                    lengthGen = static_cast<int>(g);
                } else {
                    return Parse::Bad;
                }
            } else if (Is(key, "Type") && first.kind == Kind::Name) {
                type = name;
            } else if (Is(key, "Filter")) {
                o.crypt = HasName(data, first.begin, valueEnd, "Crypt");
            } else if (Is(key, "Linearized")) {
                linearized = true;
            } else if (Is(key, "Extensions")) {
                o.hasExtensions = true;
            } else if (Is(key, "ByteRange")) {
                byteRange = true;
            } else if (Is(key, "Contents") && first.kind == Kind::String) {
                contentsBegin = o.offset + first.begin;
                contentsEnd = o.offset + valueEnd;
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
    o.bodyEnd = o.offset + s.pos();

    t = r.Next();
    if (r.more)
        return Parse::NeedMore;
    if (t.kind == Kind::Word && s.Is(t, "endobj")) {
        o.end = o.offset + t.end;
        o.role = linearized ? LaidObject::Role::Linearization : LaidObject::Role::Plain;
        return Parse::Ok;
    }
    if (t.kind != Kind::Word || !s.Is(t, "stream") || !o.dictionary)
        return Parse::Bad;
    // One EOL after the keyword: CR LF or LF, never CR alone.
    size_t eol = t.end;
    if (eol < n && data[eol] == '\n')
        eol += 1;
    else if (eol + 1 < n && data[eol] == '\r' && data[eol + 1] == '\n')
        eol += 2;
    else
        return clipped && eol + 1 >= n ? Parse::NeedMore : Parse::Bad;
    o.dataStart = o.offset + eol;
    if (o.lengthBegin == 0)
        return Parse::Bad;
    o.role = Is(type, "XRef")     ? LaidObject::Role::XrefStream
             : Is(type, "ObjStm") ? LaidObject::Role::ObjectStream
                                  : LaidObject::Role::Stream;
    return Parse::Ok;
}

bool SourceLayout::ReadObject(QPDF& pdf, SourceWindow& in, LaidObject& o, uint64_t next,
                              std::string& why) {
    // An object ends before the next one starts: a large first look is never
    // needed, and a second look can take all there may be.
    const uint64_t span = std::min<uint64_t>(next, in.fileSize()) - o.offset;
    size_t view = static_cast<size_t>(std::min<uint64_t>(span, kFirstView));
    Parse p = Parse::Bad;
    int64_t length = -1;
    int lengthNum = -1, lengthGen = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const char* data = nullptr;
        size_t n = in.View(o.offset, view, data);
        const bool clipped = n < in.fileSize() - o.offset;
        o = LaidObject{o.num, o.gen, LaidObject::Role::Plain, false, false, false, o.offset};
        p = ParseObject(data, n, clipped, o, length, lengthNum, lengthGen);
        if (p != Parse::NeedMore || n < view)
            break;
        view = static_cast<size_t>(
            std::min<uint64_t>(std::max<uint64_t>(span, kFirstView), kMaxObjectBytes));
    }
    if (p != Parse::Ok) {
        why = "object " + std::to_string(o.num) +
              " is not where the cross-reference says, or "
              "does not parse";
        return false;
    }
    if (o.dataStart == 0)
        return true;

    if (lengthNum >= 0) {
        // An indirect length, maybe in an object stream: qpdf knows where it is.
        try {
            size_t warnings = pdf.numWarnings();
            QPDFObjectHandle h = pdf.getObject(lengthNum, lengthGen);
            if (h.isInteger() && h.getIntValue() >= 0 && pdf.numWarnings() == warnings)
                length = h.getIntValue();
        } catch (const std::exception&) {
            length = -1;
        }
    }
    if (length < 0 || static_cast<uint64_t>(length) > in.fileSize() - o.dataStart) {
        why = "stream " + std::to_string(o.num) + " has no usable /Length";
        return false;
    }
    o.dataLength = static_cast<uint64_t>(length);
    const uint64_t dataEnd = o.dataStart + o.dataLength;
    const char* tail = nullptr;
    size_t n = in.View(dataEnd, kTailView, tail);
    size_t i = 0;
    if (i < n && tail[i] == '\r')
        ++i;
    if (i < n && tail[i] == '\n')
        ++i;
    static const char kEnd[] = "endstream";
    if (n - i < sizeof kEnd - 1 || std::memcmp(tail + i, kEnd, sizeof kEnd - 1) != 0) {
        why = "stream " + std::to_string(o.num) + " does not end where its /Length says";
        return false;
    }
    PdfScanner s(tail + i + sizeof kEnd - 1, n - i - (sizeof kEnd - 1));
    PdfToken t;
    do
        t = s.Next();
    while (t.kind == Kind::Comment);
    if (t.kind != Kind::Word || !s.Is(t, "endobj")) {
        why = "stream " + std::to_string(o.num) + " has no endobj";
        return false;
    }
    o.end = dataEnd + i + (sizeof kEnd - 1) + t.end;
    return true;
}

bool SourceLayout::Read(QPDF& pdf, SourceWindow& in, std::string& why) {
    m_objects.clear();
    m_compressed.clear();
    m_size = 0;
    int highest = 0;
    try {
        // The table as the file has it: anything that resolves an object first may
        // make qpdf rebuild it from a scan.
        const size_t warnings = pdf.numWarnings();
        std::vector<int> numbers;
        for (const auto& entry : pdf.getXRefTable()) {
            const int num = entry.first.getObj();
            const int gen = entry.first.getGen();
            if (num <= 0 || gen < 0 || gen > 65535) {
                why = "object number or generation out of range";
                return false;
            }
            numbers.push_back(num);
            highest = std::max(highest, num);
            if (entry.second.getType() == 1) {
                LaidObject o;
                o.num = num;
                o.gen = gen;
                o.offset = static_cast<uint64_t>(entry.second.getOffset());
                m_objects.push_back(o);
            } else if (entry.second.getType() == 2 && gen == 0) {
                m_compressed.push_back(
                    {num, entry.second.getObjStreamNumber(), entry.second.getObjStreamIndex()});
            } else {
                why = "unexpected cross-reference entry";
                return false;
            }
        }
        std::sort(numbers.begin(), numbers.end());
        if (std::adjacent_find(numbers.begin(), numbers.end()) != numbers.end()) {
            why = "one object number with two generations";
            return false;
        }
        QPDFObjectHandle trailer = pdf.getTrailer();
        if (!trailer.getKey("/Root").isIndirect() ||
            (trailer.hasKey("/Info") && !trailer.getKey("/Info").isIndirect()) ||
            trailer.hasKey("/Encrypt")) {
            why = "the trailer's /Root or /Info is not a reference";
            return false;
        }
        QPDFObjectHandle size = trailer.getKey("/Size");
        if (size.isInteger() && size.getIntValue() > 0 && size.getIntValue() < INT32_MAX - 2)
            m_size = static_cast<int>(size.getIntValue());
        if (pdf.numWarnings() != warnings) {
            why = "qpdf had to repair something";
            return false;
        }
    } catch (const std::exception& e) {
        why = e.what();
        return false;
    }
    // The new cross-reference section has an entry for every number below the
    // size: numbers far beyond the objects there are would only make it huge.
    const int64_t entries = static_cast<int64_t>(m_objects.size() + m_compressed.size());
    const int64_t sane = 4 * entries + kSpareNumbers;
    if (highest >= sane || m_size >= sane) {
        why = "object numbers far beyond the number of objects";
        return false;
    }
    m_size = std::max(m_size, highest + 1);

    std::sort(m_objects.begin(), m_objects.end(),
              [](const LaidObject& a, const LaidObject& b) { return a.offset < b.offset; });
    in.SetReadSize(kHopReadSize);
    uint64_t previousEnd = 0;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        LaidObject& o = m_objects[i];
        if (o.offset < previousEnd) {
            why = "objects overlap";
            return false;
        }
        const uint64_t next = i + 1 < m_objects.size() ? m_objects[i + 1].offset : in.fileSize();
        if (!ReadObject(pdf, in, o, next, why))
            return false;
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
            why = "object " + std::to_string(c.num) + " is in something not an object stream";
            return false;
        }
    }
    if (pdf.numWarnings() != 0) {
        // qpdf found something amiss while it read a /Length for us.
        why = "qpdf had to repair something";
        return false;
    }
    return !in.readFailed();
}
