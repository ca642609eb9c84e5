#include "engine/host/StrictObjectReader.h"

#include "engine/host/PdfScanner.h"

#include <algorithm>
#include <cstdint>

namespace {

using Kind = PdfToken::Kind;

// Real files nest a few levels; qpdf's own limit is far above this.
constexpr int kMaxDepth = 100;

enum class Number { None, Integer, Real };

// qpdf's integers and reals: [+-]? digits, with at most one '.'. Integers of
// more than 18 digits might not fit its 64 bits.
Number NumberKind(const char* p, const char* end) {
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    size_t digits = 0;
    bool dot = false;
    for (; p < end; ++p) {
        if (*p >= '0' && *p <= '9')
            ++digits;
        else if (*p == '.' && !dot)
            dot = true;
        else
            return Number::None;
    }
    if (digits == 0 || (!dot && digits > 18))
        return Number::None;
    return dot ? Number::Real : Number::Integer;
}

} // namespace

bool StrictObjectReader::Read(const char* data, size_t size, NodeFacts& facts,
                              std::vector<std::string>* warnings) {
    facts = NodeFacts();
    PdfScanner s(data, size);
    StrictObjectReader r(s, warnings);
    const PdfToken first = r.Next();
    return r.Value(first, 0, &facts) && r.Next().kind == Kind::End;
}

bool StrictObjectReader::Name(const PdfToken& t) {
    if (m_s.IsWellFormedName(t))
        return true;
    if (!m_warnings)
        return false;
    // Only a '#' without two hex digits after it; "#00" gets another warning.
    for (size_t i = t.begin; i + 2 < t.end; ++i)
        if (m_s.data()[i] == '#' && m_s.data()[i + 1] == '0' && m_s.data()[i + 2] == '0')
            return false;
    m_warnings->push_back("name with stray # will not work with PDF >= 1.2");
    return true;
}

PdfToken StrictObjectReader::Next(std::string* value) {
    PdfToken t;
    do
        t = m_s.Next(value);
    while (t.kind == Kind::Comment);
    return t;
}

bool StrictObjectReader::NumberOrReference(const PdfToken& t, bool& reference,
                                           std::pair<int, int>& target) {
    reference = false;
    const Number n = NumberKind(m_s.data() + t.begin, m_s.data() + t.end);
    if (n == Number::None)
        return false;
    int64_t num = 0, gen = 0;
    if (n != Number::Integer || !m_s.ToInt(t, num))
        return true; // a real, or a signed integer: never the start of a reference
    const size_t back = m_s.pos();
    const PdfToken g = Next();
    const PdfToken r = Next();
    if (m_s.ToInt(g, gen) && r.kind == Kind::Word && m_s.Is(r, "R")) {
        // Object 0 and generations beyond 65535 do not exist.
        if (num < 1 || num > 0x7fffffff || gen > 65535)
            return false;
        reference = true;
        target = {static_cast<int>(num), static_cast<int>(gen)};
        return true;
    }
    m_s.seek(back);
    return true;
}

bool StrictObjectReader::Value(const PdfToken& t, int depth, NodeFacts* facts) {
    switch (t.kind) {
    case Kind::String:
        return true;
    case Kind::Name:
        return Name(t);
    case Kind::ArrayOpen:
        return depth < kMaxDepth && Array(depth + 1, nullptr, nullptr);
    case Kind::DictOpen:
        if (depth >= kMaxDepth)
            return false;
        if (facts)
            facts->dictionary = true;
        return Dictionary(depth + 1, facts);
    case Kind::Word: {
        if (m_s.Is(t, "true") || m_s.Is(t, "false") || m_s.Is(t, "null"))
            return true;
        bool reference = false;
        std::pair<int, int> target;
        return NumberOrReference(t, reference, target);
    }
    default: // Bad, End, braces, a stray close
        return false;
    }
}

bool StrictObjectReader::Array(int depth, std::vector<std::pair<int, int>>* references,
                               size_t* items) {
    for (;;) {
        const PdfToken t = Next();
        if (t.kind == Kind::ArrayClose)
            return true;
        if (items)
            ++*items;
        if (t.kind == Kind::Word && !m_s.Is(t, "true") && !m_s.Is(t, "false") &&
            !m_s.Is(t, "null")) {
            bool reference = false;
            std::pair<int, int> target;
            if (!NumberOrReference(t, reference, target))
                return false;
            if (reference && references)
                references->push_back(target);
            continue;
        }
        if (!Value(t, depth, nullptr))
            return false;
    }
}

bool StrictObjectReader::Dictionary(int depth, NodeFacts* facts) {
    std::vector<std::string> keys;
    std::string key, name;
    for (;;) {
        const PdfToken k = Next(&key);
        if (k.kind == Kind::DictClose)
            break;
        if (k.kind != Kind::Name || !Name(k))
            return false;
        keys.push_back(key);
        const size_t valueAt = m_s.pos();
        const PdfToken v = Next(&name);
        if (!facts) {
            if (!Value(v, depth, nullptr))
                return false;
            continue;
        }
        if (key == "Type" && v.kind == Kind::Name) {
            facts->type = name;
        } else if (key == "Kids") {
            facts->hasKids = true;
            if (v.kind == Kind::ArrayOpen) {
                size_t items = 0;
                if (!Array(depth, &facts->kids, &items))
                    return false;
                facts->kidsAreReferences = items == facts->kids.size();
                continue;
            }
        } else if (key == "Parent") {
            facts->hasParent = true;
        } else if (key == "Pages" && v.kind == Kind::Word) {
            bool reference = false;
            std::pair<int, int> target;
            if (!NumberOrReference(v, reference, target))
                return false;
            if (reference)
                facts->pages = target;
            continue;
        }
        m_s.seek(valueAt);
        if (!Value(Next(), depth, nullptr))
            return false;
    }
    // qpdf keeps the last of repeated keys, with a warning for each repeat.
    std::sort(keys.begin(), keys.end());
    for (size_t i = 1; i < keys.size(); ++i) {
        if (keys[i] != keys[i - 1])
            continue;
        if (!m_warnings || keys[i].find('#') != std::string::npos)
            return false;
        m_warnings->push_back("dictionary has duplicated key /" + keys[i] +
                              "; last occurrence overrides earlier ones");
    }
    return true;
}
