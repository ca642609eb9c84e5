#include "engine/host/PackedIntegers.h"

#include "engine/host/PdfScanner.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <new>
#include <vector>

namespace {
constexpr long long kMaxObjectsPerStream = 1 << 20;
} // namespace

bool PackedIntegers::Find(QPDF& pdf, int stream, int num, int64_t& value) {
    if (!m_loaded.count(stream) && !Load(pdf, stream))
        return false;
    auto it = m_values.find(num);
    if (it == m_values.end())
        return false;
    value = it->second;
    return true;
}

bool PackedIntegers::Load(QPDF& pdf, int stream) {
    m_loaded.insert(stream);
    try {
        QPDFObjectHandle s = pdf.getObject(stream, 0);
        if (!s.isStream())
            return false;
        QPDFObjectHandle dict = s.getDict();
        QPDFObjectHandle count = dict.getKey("/N");
        QPDFObjectHandle first = dict.getKey("/First");
        if (!count.isInteger() || count.getIntValue() < 1 ||
            count.getIntValue() > kMaxObjectsPerStream || !first.isInteger() ||
            first.getIntValue() < 0)
            return false;
        std::shared_ptr<Buffer> data = s.getStreamData(qpdf_dl_specialized);
        const char* bytes = reinterpret_cast<const char*>(data->getBuffer());
        const size_t size = data->getSize();
        const size_t start = static_cast<size_t>(first.getIntValue());
        if (start > size)
            return false;
        PdfScanner header(bytes, start);
        std::vector<std::pair<int, size_t>> objects;
        for (long long i = 0; i < count.getIntValue(); ++i) {
            int64_t n = 0, offset = 0;
            const PdfToken a = header.Next();
            const PdfToken b = header.Next();
            if (!header.ToInt(a, n) || !header.ToInt(b, offset) || n > 0x7fffffff ||
                static_cast<uint64_t>(offset) > size - start)
                return false;
            objects.emplace_back(static_cast<int>(n), start + static_cast<size_t>(offset));
        }
        for (size_t i = 0; i < objects.size(); ++i) {
            const size_t begin = objects[i].second;
            const size_t end = i + 1 < objects.size() && objects[i + 1].second > begin
                                   ? objects[i + 1].second
                                   : size;
            PdfScanner s(bytes + begin, end - begin);
            int64_t v = 0;
            const PdfToken t = s.Next();
            if (s.ToInt(t, v) && s.Next().kind == PdfToken::Kind::End)
                m_values.emplace(objects[i].first, v);
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
    return true;
}
