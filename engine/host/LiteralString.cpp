#include "engine/host/LiteralString.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

bool NeedsEscape(unsigned char c) {
    return c == '\\' || c == '(' || c == ')' || c == '\r';
}

// Whether any of the eight bytes may need an escape. It may say yes for a
// clean word (a borrow runs into the byte above a match), never no for one with
// a match; most words of random bytes hold none, and those are copied whole.
bool MayNeedEscape(uint64_t v) {
    const uint64_t cr = v ^ (kOnes * '\r');
    const uint64_t paren = (v | kOnes) ^ (kOnes * ')'); // '(' is ')' less its low bit
    const uint64_t slash = v ^ (kOnes * '\\');
    return (((cr - kOnes) & ~cr) | ((paren - kOnes) & ~paren) | ((slash - kOnes) & ~slash)) &
           kHighs;
}

} // namespace

void LiteralString::Append(std::string& out, const char* data, size_t size) {
    // At most every byte doubles; reserving does not touch the memory.
    out.reserve(out.size() + 2 * size + 2);
    out += '(';
    size_t copied = 0; // bytes before this are in `out`
    size_t i = 0;
    auto escapeAt = [&](size_t k) {
        const unsigned char c = static_cast<unsigned char>(data[k]);
        if (!NeedsEscape(c))
            return;
        out.append(data + copied, k - copied);
        out += '\\';
        out += c == '\r' ? 'r' : static_cast<char>(c);
        copied = k + 1;
    };
    for (; i + 8 <= size; i += 8) {
        uint64_t v;
        std::memcpy(&v, data + i, sizeof v);
        if (!MayNeedEscape(v))
            continue;
        for (size_t k = i; k < i + 8; ++k)
            escapeAt(k);
    }
    for (; i < size; ++i)
        escapeAt(i);
    out.append(data + copied, size - copied);
    out += ')';
}
