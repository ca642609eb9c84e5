#pragma once
// The repairs the one-pass writer makes on the way, each as qpdf reads the
// source (the words are listed with the writer reasons in WriterChoice.h).

#include <cstdint>
#include <string>
#include <vector>

class SourceRepairs {
public:
    enum Repair : uint32_t {
        WrongSize = 1u << 0,
        XrefWhitespace = 1u << 1,
        XrefRebuilt = 1u << 2,
        NullOffset = 1u << 3,
        StreamLength = 1u << 4,
        StreamEol = 1u << 5,
        StrayHash = 1u << 6,
        DuplicateKey = 1u << 7,
    };

    void Add(Repair r) { m_bits |= r; }
    void Add(const SourceRepairs& other) { m_bits |= other.m_bits; }
    bool Has(Repair r) const { return (m_bits & r) != 0; }
    bool empty() const { return m_bits == 0; }
    void clear() { m_bits = 0; }
    // "clean", or the repairs joined by '+', in the order above.
    std::string Text() const;

    // Reads qpdf's warnings about a source (the text of each, in order). True when
    // every one is a repair the one-pass writer makes the same way, added to this;
    // false with the qpdf writer's reason otherwise.
    bool Follow(const std::vector<std::string>& warnings, std::string& fallback);

private:
    uint32_t m_bits = 0;
};
