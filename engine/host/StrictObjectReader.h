#pragma once
// Reads one object from bytes and says whether qpdf would read it without a
// warning. It errs towards "it might warn" (unusual numbers, deep nesting, words
// qpdf would take for strings, names with a stray '#', repeated keys): a caller
// that doubts a file leaves it to qpdf. Of a dictionary it keeps what a walk of
// the page tree needs.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class PdfScanner;
struct PdfToken;

// An object as the page tree sees it. References are (number, generation).
struct NodeFacts {
    bool dictionary = false;
    std::string type;                      // /Type as a direct name, without the slash
    bool hasKids = false;                  // a /Kids key, whatever its value
    bool kidsAreReferences = false;        // /Kids is a direct array of references only
    std::vector<std::pair<int, int>> kids; // ... and these are they
    bool hasParent = false;
    std::pair<int, int> pages{0, 0}; // /Pages as a reference (of a catalog)
};

class StrictObjectReader {
public:
    // Reads [data, data + size) as one value with nothing but white space and
    // comments around it. False when qpdf might warn about any of it; with
    // `warnings`, names with a stray '#' and repeated keys are read as qpdf reads
    // them (the last key wins) and its warnings about them are added there.
    static bool Read(const char* data, size_t size, NodeFacts& facts,
                     std::vector<std::string>* warnings = nullptr);

private:
    StrictObjectReader(PdfScanner& s, std::vector<std::string>* warnings)
        : m_s(s), m_warnings(warnings) {}
    // A name qpdf reads without a warning, or (with m_warnings) with the one
    // about a stray '#'.
    bool Name(const PdfToken& t);
    PdfToken Next(std::string* value = nullptr);
    // The value starting with `t`; `facts` only for the object's own dictionary.
    bool Value(const PdfToken& t, int depth, NodeFacts* facts);
    bool Array(int depth, std::vector<std::pair<int, int>>* references, size_t* items);
    bool Dictionary(int depth, NodeFacts* facts);
    // A number, or a reference when "G R" follows; `reference` tells which.
    bool NumberOrReference(const PdfToken& t, bool& reference, std::pair<int, int>& target);

    PdfScanner& m_s;
    std::vector<std::string>* m_warnings;
};
