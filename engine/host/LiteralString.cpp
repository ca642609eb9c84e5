#include "engine/host/LiteralString.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool NeedsEscape(unsigned char c) {
    return c == '\\' || c == '(' || c == ')' || c == '\r';
}

} // namespace

void LiteralString::Append(std::string& out, const char* data, size_t size) {
    // At most every byte doubles; reserving does not touch the memory.
    out.reserve(out.size() + 2 * size + 2);
    out += '(';
    size_t copied = 0; // bytes before this are in `out`
    auto escape = [&](size_t k) {
        out.append(data + copied, k - copied);
        out += '\\';
        out += data[k] == '\r' ? 'r' : data[k];
        copied = k + 1;
    };
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: random bytes hold one of the four in about one
    // block in five, and then only those bytes are visited.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i open = _mm_set1_epi8('(');
    const __m128i close = _mm_set1_epi8(')');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, open)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, close), _mm_cmpeq_epi8(v, backslash)));
        for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits)); mask; mask &= mask - 1)
            escape(i + static_cast<size_t>(__builtin_ctz(mask)));
    }
#endif
    for (; i < size; ++i)
        if (NeedsEscape(static_cast<unsigned char>(data[i])))
            escape(i);
    out.append(data + copied, size - copied);
    out += ')';
}
