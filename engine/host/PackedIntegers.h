#pragma once
// Integer objects kept in object streams, read without letting qpdf parse the
// streams: qpdf keeps every object of a stream it resolves one from, so a file
// whose every stream has its /Length in an object stream (pdfTeX writes them so)
// would hold all its object streams parsed. Each stream is decoded once (by
// qpdf, without parsing its objects) and only its integers are kept.

#include <cstdint>
#include <unordered_map>
#include <unordered_set>

class QPDF;

class PackedIntegers {
public:
    // The integer object `num` of object stream `stream` into `value`. False when
    // the stream cannot be read this way or the object is not a plain
    // non-negative integer: the caller then asks qpdf.
    bool Find(QPDF& pdf, int stream, int num, int64_t& value);

private:
    bool Load(QPDF& pdf, int stream);

    std::unordered_map<int, int64_t> m_values;
    std::unordered_set<int> m_loaded; // streams read, well or not
};
