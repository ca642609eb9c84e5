#include "engine/host/SourceRepairs.h"

#include <cstring>

namespace {

struct Named {
    SourceRepairs::Repair repair;
    const char* word;
};
const Named kWords[] = {
    {SourceRepairs::WrongSize, "wrong-size"},
    {SourceRepairs::XrefWhitespace, "xref-whitespace"},
    {SourceRepairs::XrefRebuilt, "xref-rebuilt"},
    {SourceRepairs::NullOffset, "null-offset"},
    {SourceRepairs::StreamLength, "stream-length"},
    {SourceRepairs::StreamEol, "stream-eol"},
    {SourceRepairs::StrayHash, "stray-hash"},
    {SourceRepairs::DuplicateKey, "duplicate-key"},
};

// qpdf 11's texts for what it reads with a warning and the one-pass writer
// repairs the same way (or copies, where the bytes are the reading).
struct Known {
    const char* start;
    SourceRepairs::Repair repair;
};
const Known kKnown[] = {
    {"reported number of objects (", SourceRepairs::WrongSize},
    {"extraneous whitespace seen before xref", SourceRepairs::XrefWhitespace},
    {"object has offset 0", SourceRepairs::NullOffset},
    {"expected endstream", SourceRepairs::StreamLength},
    {"attempting to recover stream length", SourceRepairs::StreamLength},
    {"recovered stream length: ", SourceRepairs::StreamLength},
    {"stream dictionary lacks /Length key", SourceRepairs::StreamLength},
    {"/Length key in stream dictionary is not an integer", SourceRepairs::StreamLength},
    {"stream keyword followed by carriage return only", SourceRepairs::StreamEol},
    {"stream keyword followed by extraneous whitespace", SourceRepairs::StreamEol},
    {"stream keyword not followed by proper line terminator", SourceRepairs::StreamEol},
    {"name with stray # will not work with PDF >= 1.2", SourceRepairs::StrayHash},
    {"dictionary has duplicated key ", SourceRepairs::DuplicateKey},
};

bool StartsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

bool Contains(const std::string& s, const char* part) {
    return s.find(part) != std::string::npos;
}

} // namespace

std::string SourceRepairs::Text() const {
    std::string text;
    for (const Named& n : kWords) {
        if (!Has(n.repair))
            continue;
        if (!text.empty())
            text += '+';
        text += n.word;
    }
    return text.empty() ? "clean" : text;
}

bool SourceRepairs::Follow(const std::vector<std::string>& warnings, std::string& fallback) {
    for (size_t i = 0; i < warnings.size(); ++i) {
        const std::string& w = warnings[i];
        // qpdf rebuilds the table from a scan: "file is damaged", the cause,
        // then "Attempting to reconstruct cross-reference table".
        if (w == "file is damaged") {
            size_t k = i + 1;
            while (k < warnings.size() && k <= i + 2 &&
                   warnings[k] != "Attempting to reconstruct cross-reference table")
                ++k;
            if (k < warnings.size() && k <= i + 2) {
                Add(XrefRebuilt);
                i = k;
                continue;
            }
        }
        bool known = false;
        for (const Known& k : kKnown) {
            if (StartsWith(w, k.start)) {
                Add(k.repair);
                known = true;
                break;
            }
        }
        if (known)
            continue;
        if (Contains(w, "loop detected"))
            fallback = "reference-loop";
        else if (Contains(w, "page") || Contains(w, "Page") || StartsWith(w, "kid "))
            fallback = "broken-page-tree";
        else
            fallback = "qpdf-repair";
        return false;
    }
    return true;
}
