#include "StructurePdf.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// A file assembled piece by piece, remembering where each object starts.
class RawPdf {
public:
    explicit RawPdf(const std::string& version) {
        m_data = "%PDF-" + version + "\n%\xE2\xE3\xCF\xD3\n";
    }

    void Object(int num, int gen, const std::string& body) {
        m_offsets[num] = m_data.size();
        m_data += std::to_string(num) + " " + std::to_string(gen) + " obj\n" + body + "\nendobj\n";
    }
    void Stream(int num, const std::string& dict, const std::string& data,
                const std::string& eol = "\n") {
        Object(num, 0, dict + "\nstream" + eol + data + "\nendstream");
    }
    size_t Offset(int num) const { return m_offsets.at(num); }
    size_t Size() const { return m_data.size(); }
    void Append(const std::string& s) { m_data += s; }

    // A classic table over `rows` (number -> "offset gen n" or "next gen f").
    void Table(const std::map<int, std::string>& rows, const std::string& trailer) {
        const size_t at = m_data.size();
        m_data += "xref\n";
        for (auto it = rows.begin(); it != rows.end();) {
            auto end = it;
            int next = it->first;
            while (end != rows.end() && end->first == next) {
                ++end;
                ++next;
            }
            m_data += std::to_string(it->first) + " " + std::to_string(next - it->first) + "\n";
            for (; it != end; ++it)
                m_data += it->second + " \n";
        }
        m_data += "trailer\n" + trailer + "\nstartxref\n" + std::to_string(at) + "\n%%EOF\n";
    }
    std::string InUse(int num, int gen = 0, long shift = 0) const {
        char line[32];
        std::snprintf(line, sizeof line, "%010ld %05d n", static_cast<long>(Offset(num)) + shift,
                      gen);
        return line;
    }

    bool Save(const std::string& path) const { return SaveBytes(path, m_data); }
    const std::string& Bytes() const { return m_data; }
    static bool SaveBytes(const std::string& path, const std::string& bytes) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    }

private:
    std::string m_data;
    std::map<int, size_t> m_offsets;
};

std::string AllBytesHex() {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "<";
    for (int c = 0; c < 256; ++c) {
        s += digits[c >> 4];
        s += digits[c & 15];
        if (c % 32 == 31)
            s += "\n";
    }
    return s + ">";
}

const char kContent[] = "BT /F1 18 Tf 20 100 Td (Structure) Tj ET 0 0 1 rg 20 20 60 30 re f";
const char kXmp[] = "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
                    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/></x:xmpmeta>"
                    "<?xpacket end=\"w\"?>";

// Objects 1 to 12, 14 and 15 of the Features document; 13 is a free number.
// `lengthDelta` makes the content stream's indirect /Length wrong. Without
// `cryptFilter` object 10 is a plain stream: qpdf's writer edits /Crypt filters.
void FeatureObjects(RawPdf& p, long lengthDelta, bool cryptFilter = true) {
    const std::string content = kContent;
    p.Object(1, 0,
             "<< /Type /Catalog /Pages 2 0 R /Metadata 8 0 R % a comment (with a paren\n"
             "/Extra [9 0 R 10 0 R 11 1 R 14 0 R 15 0 R] /Na#6De (name with an escape) >>");
    p.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    p.Object(3, 0,
             "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 150] /Resources << /Font << /F1 4 "
             "0 R >> >> /Contents 5 0 R /Annots [12 0 R] >>");
    p.Object(4, 0, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    // CR LF after the keyword, and the length in an object that follows.
    p.Stream(5, "<< /Length 6 0 R >>", content, "\r\n");
    p.Object(6, 0, std::to_string(static_cast<long>(content.size()) + lengthDelta));
    p.Object(
        7, 0,
        "<< /Title (escapes \\\\ \\( \\) \\n\\r\\t\\b\\f \\053\\53\\0053 \\q (nested (parens)) "
        "continued\\\nline cr\ralone crlf\r\nend) /Subject <48 65 6c6C 6f2> "
        "/Producer (\\376\\377\\000A\\000\\351) >>");
    p.Stream(8,
             "<< /Type /Metadata /Subtype /XML /Length " + std::to_string(sizeof kXmp - 1) + " >>",
             kXmp);
    p.Stream(9, "<< /Length 0 >>", "");
    p.Stream(10,
             cryptFilter ? "<< /Filter [/Crypt] /DecodeParms [<< /Name /Identity >>] /Length 10 >>"
                         : "<< /Length 10 >>",
             "plain data");
    p.Object(11, 1, "(generation one)");
    p.Object(12, 0,
             "<< /Type /Annot /Subtype /Text /Rect [150 100 170 120] /Contents " + AllBytesHex() +
                 " >>");
    p.Object(14, 0, "[(after a free number) <> () 14.5 -3 true null /N]");
    // A signature: its /Contents is never encrypted.
    p.Object(
        15, 0,
        "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /adbe.pkcs7.detached /ByteRange [0 10 "
        "20 30] /Contents <308006092a864886f70d010702a08030> /M (D:20240101000000Z) >>");
}

std::map<int, std::string> FeatureRows(const RawPdf& p, long infoShift) {
    std::map<int, std::string> rows;
    rows[0] = "0000000013 65535 f";
    for (int n = 1; n <= 15; ++n)
        if (n != 13)
            rows[n] = p.InUse(n, n == 11 ? 1 : 0, n == 7 ? infoShift : 0);
    rows[13] = "0000000000 00001 f";
    return rows;
}

const char kFeatureTrailer[] =
    "<< /Size 16 /Root 1 0 R /Info 7 0 R /ID [<0123456789ABCDEF0123456789ABCDEF>"
    "<0123456789ABCDEF0123456789ABCDEF>] >>";

bool Features(const std::string& path, long infoShift, long lengthDelta) {
    RawPdf p("1.4");
    FeatureObjects(p, lengthDelta, infoShift == 0 && lengthDelta == 0);
    p.Table(FeatureRows(p, infoShift), kFeatureTrailer);
    return p.Save(path);
}

bool Incremental(const std::string& path) {
    RawPdf p("1.4");
    FeatureObjects(p, 0);
    const size_t first = p.Size();
    p.Table(FeatureRows(p, 0), kFeatureTrailer);
    // The update: a new title, object 14 freed, object 16 added and listed.
    p.Object(7, 0, "<< /Title (updated title) >>");
    p.Object(16, 0, "(added by the update)");
    p.Object(1, 0,
             "<< /Type /Catalog /Pages 2 0 R /Metadata 8 0 R /Extra [9 0 R 10 0 R 11 1 R 15 0 "
             "R 16 0 R] >>");
    std::map<int, std::string> rows;
    rows[0] = "0000000014 65535 f";
    rows[1] = p.InUse(1);
    rows[7] = p.InUse(7);
    rows[14] = "0000000000 00001 f";
    rows[16] = p.InUse(16);
    p.Table(rows, "<< /Size 17 /Root 1 0 R /Info 7 0 R /Prev " + std::to_string(first) +
                      " /ID [<0123456789ABCDEF0123456789ABCDEF><00112233445566778899AABBCCDDEEFF>] "
                      ">>");
    return p.Save(path);
}

std::string BigEndian(unsigned long v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i)
        s += static_cast<char>((v >> (8 * i)) & 0xff);
    return s;
}

// Objects 1-6 in a classic table; 7 (a string dictionary) and 8 live in object
// stream 9, which only the /XRefStm stream 10 lists.
bool Hybrid(const std::string& path) {
    RawPdf p("1.5");
    const std::string content = kContent;
    p.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R /Hybrid 7 0 R >>");
    p.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    p.Object(3, 0,
             "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 150] /Resources << /Font << /F1 4 "
             "0 R >> >> /Contents 5 0 R >>");
    p.Object(4, 0, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    p.Stream(5, "<< /Length " + std::to_string(content.size()) + " >>", content);
    p.Object(6, 0, "<< /Title (hybrid file) >>");
    const std::string o7 = "<< /Inside (a string in an object stream) /Next 8 0 R >>";
    const std::string o8 = "[(second) <FF00>]";
    const std::string head = "7 0 8 " + std::to_string(o7.size() + 1) + " ";
    const std::string objects = o7 + " " + o8;
    p.Stream(9,
             "<< /Type /ObjStm /N 2 /First " + std::to_string(head.size()) + " /Length " +
                 std::to_string(head.size() + objects.size()) + " >>",
             head + objects);
    // The stream lists 7 to 10 with W [1 4 2].
    std::string rows;
    rows += "\x02" + BigEndian(9, 4) + BigEndian(0, 2);
    rows += "\x02" + BigEndian(9, 4) + BigEndian(1, 2);
    rows += "\x01" + BigEndian(p.Offset(9), 4) + BigEndian(0, 2);
    const size_t streamAt = p.Size();
    rows += "\x01" + BigEndian(streamAt, 4) + BigEndian(0, 2);
    p.Stream(10,
             "<< /Type /XRef /Size 11 /W [1 4 2] /Index [7 4] /Length " +
                 std::to_string(rows.size()) + " >>",
             rows);
    std::map<int, std::string> table;
    table[0] = "0000000000 65535 f";
    for (int n = 1; n <= 6; ++n)
        table[n] = p.InUse(n);
    p.Table(table,
            "<< /Size 11 /Root 1 0 R /Info 6 0 R /XRefStm " + std::to_string(streamAt) + " >>");
    return p.Save(path);
}

// One page, and the fault `kind` names (StrayHash and the kinds after WrongSize).
bool OnePage(const std::string& path, StructurePdf::Kind kind) {
    using Kind = StructurePdf::Kind;
    RawPdf p("1.4");
    const std::string content = kContent;
    // Object 6, outside the page tree, holds what qpdf reads only when written.
    const bool extra6 = kind == Kind::ReferenceLoop || kind == Kind::OddToken;
    p.Object(1, 0,
             extra6 ? "<< /Type /Catalog /Pages 2 0 R /Extra 6 0 R >>"
                    : "<< /Type /Catalog /Pages 2 0 R >>");
    p.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    const std::string type = kind == Kind::BrokenPageTree ? "" : "/Type /Page ";
    const std::string extra = kind == Kind::StrayHash      ? " /Odd#Name true"
                              : kind == Kind::DuplicateKey ? " /Type /Page"
                                                           : "";
    p.Object(3, 0,
             "<< " + type +
                 "/Parent 2 0 R /MediaBox [0 0 200 150] /Resources << /Font << /F1 4 0 R >> >> "
                 "/Contents 5 0 R" +
                 extra + " >>");
    p.Object(4, 0, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    const std::string length =
        kind == Kind::MissingLength ? "" : "/Length " + std::to_string(content.size());
    p.Stream(5, "<< " + length + " >>", content, kind == Kind::CrOnly ? "\r" : "\n");
    if (kind == Kind::ReferenceLoop)
        p.Stream(6, "<< /Length 6 0 R >>", "loop data");
    else if (kind == Kind::OddToken)
        p.Object(6, 0, "[-3 ture]");
    std::map<int, std::string> rows;
    rows[0] = "0000000000 65535 f";
    for (int n = 1; n <= (extra6 ? 6 : 5); ++n)
        rows[n] = p.InUse(n, 0, kind == Kind::WhitespaceOffset && n == 4 ? -1 : 0);
    int size = extra6 ? 7 : 6;
    if (kind == Kind::NullOffset) {
        rows[6] = "0000000000 00000 n";
        size = 7;
    }
    const std::string trailer =
        "<< /Size " + std::to_string(kind == Kind::WrongSize ? 3 : size) + " /Root 1 0 R >>";
    if (kind == Kind::DamagedTable || kind == Kind::WhitespaceBeforeXref) {
        // The table as usual, then startxref moved.
        RawPdf q = p;
        q.Table(rows, trailer);
        std::string bytes = q.Bytes();
        const size_t at = bytes.rfind("startxref\n") + 10;
        const long table = std::stol(bytes.substr(at));
        bytes.replace(at, bytes.find('\n', at) - at,
                      std::to_string(kind == Kind::DamagedTable ? table + 5 : table - 1));
        return RawPdf::SaveBytes(path, bytes);
    }
    p.Table(rows, trailer);
    return p.Save(path);
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "<";
    for (unsigned char c : bytes) {
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s + ">";
}

bool WithQpdfTool(const std::string& path, const std::string& options) {
    const std::string plain = path + ".features.pdf";
    if (!Features(plain, 0, 0))
        return false;
    const std::string cmd = "qpdf " + options + " '" + plain + "' '" + path + "' >/dev/null 2>&1";
    int rc = std::system(cmd.c_str());
    std::remove(plain.c_str());
    return rc == 0;
}

// Catalog 1; pages 2, page 3, font 4 and the content length 5 in object stream 6;
// content stream 7; cross-reference stream 8.
bool PackedLength(const std::string& path) {
    RawPdf p("1.5");
    const std::string content = kContent;
    p.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
    const std::vector<std::string> packed = {
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 150] /Resources << /Font << /F1 4 0 "
        "R >> >> /Contents 7 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", std::to_string(content.size())};
    std::string head, objects;
    for (size_t i = 0; i < packed.size(); ++i) {
        head += std::to_string(i + 2) + " " + std::to_string(objects.size()) + " ";
        objects += packed[i] + "\n";
    }
    p.Stream(6,
             "<< /Type /ObjStm /N 4 /First " + std::to_string(head.size()) + " /Length " +
                 std::to_string(head.size() + objects.size()) + " >>",
             head + objects);
    p.Stream(7, "<< /Length 5 0 R >>", content);
    const size_t xrefAt = p.Size();
    std::string rows(1, '\0');
    rows += BigEndian(0, 4) + BigEndian(65535, 2);
    rows += "\x01" + BigEndian(p.Offset(1), 4) + BigEndian(0, 2);
    for (unsigned long i = 0; i < packed.size(); ++i)
        rows += "\x02" + BigEndian(6, 4) + BigEndian(i, 2);
    for (int n : {6, 7})
        rows += "\x01" + BigEndian(p.Offset(n), 4) + BigEndian(0, 2);
    rows += "\x01" + BigEndian(xrefAt, 4) + BigEndian(0, 2);
    p.Stream(8,
             "<< /Type /XRef /Size 9 /W [1 4 2] /Root 1 0 R /Length " +
                 std::to_string(rows.size()) + " >>",
             rows);
    p.Append("startxref\n" + std::to_string(xrefAt) + "\n%%EOF\n");
    return p.Save(path);
}

} // namespace

bool StructurePdf::Write(const std::string& path, Kind kind) {
    switch (kind) {
    case Kind::Features:
        return Features(path, 0, 0);
    case Kind::IncrementalUpdate:
        return Incremental(path);
    case Kind::ObjectStreams:
        return WithQpdfTool(path, "--object-streams=generate --preserve-unreferenced");
    case Kind::Linearized:
        return WithQpdfTool(path, "--linearize");
    case Kind::HybridXref:
        return Hybrid(path);
    case Kind::PackedLength:
        return PackedLength(path);
    case Kind::WrongOffset:
        return Features(path, 2, 0);
    case Kind::WrongLength:
        return Features(path, 0, -3);
    case Kind::StrayHash:
    case Kind::WrongSize:
    case Kind::DamagedTable:
    case Kind::WhitespaceOffset:
    case Kind::NullOffset:
    case Kind::WhitespaceBeforeXref:
    case Kind::MissingLength:
    case Kind::CrOnly:
    case Kind::DuplicateKey:
    case Kind::ReferenceLoop:
    case Kind::BrokenPageTree:
    case Kind::OddToken:
        return OnePage(path, kind);
    }
    return false;
}

bool StructurePdf::WriteLink(const std::string& path, const std::string& uri) {
    RawPdf p("1.4");
    p.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
    p.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    p.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 150] /Annots [4 0 R] >>");
    p.Object(4, 0,
             "<< /Type /Annot /Subtype /Link /Rect [10 10 90 40] /A << /S /URI /URI " + Hex(uri) +
                 " >> >>");
    std::map<int, std::string> rows;
    rows[0] = "0000000000 65535 f";
    for (int n = 1; n <= 4; ++n)
        rows[n] = p.InUse(n);
    p.Table(rows, "<< /Size 5 /Root 1 0 R /ID [<00112233445566778899AABBCCDDEEFF>"
                  "<00112233445566778899AABBCCDDEEFF>] >>");
    return p.Save(path);
}

bool StructurePdf::WriteObjectStream(const std::string& path,
                                     const std::vector<std::string>& packed) {
    RawPdf p("1.5");
    p.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string head, objects;
    for (size_t i = 0; i < packed.size(); ++i) {
        head += std::to_string(i + 2) + " " + std::to_string(objects.size()) + " ";
        objects += packed[i] + "\n";
    }
    const int stream = static_cast<int>(packed.size()) + 2;
    p.Stream(stream,
             "<< /Type /ObjStm /N " + std::to_string(packed.size()) + " /First " +
                 std::to_string(head.size()) + " /Length " +
                 std::to_string(head.size() + objects.size()) + " >>",
             head + objects);
    // Rows for 0 to the cross-reference stream itself, W [1 4 2].
    const size_t xrefAt = p.Size();
    std::string rows(1, '\0'); // object 0: free
    rows += BigEndian(0, 4) + BigEndian(65535, 2);
    rows += "\x01" + BigEndian(p.Offset(1), 4) + BigEndian(0, 2);
    for (size_t i = 0; i < packed.size(); ++i)
        rows += "\x02" + BigEndian(static_cast<unsigned long>(stream), 4) + BigEndian(i, 2);
    rows += "\x01" + BigEndian(p.Offset(stream), 4) + BigEndian(0, 2);
    rows += "\x01" + BigEndian(xrefAt, 4) + BigEndian(0, 2);
    const std::string size = std::to_string(stream + 2);
    p.Stream(stream + 1,
             "<< /Type /XRef /Size " + size + " /W [1 4 2] /Root 1 0 R /Length " +
                 std::to_string(rows.size()) + " >>",
             rows);
    p.Append("startxref\n" + std::to_string(xrefAt) + "\n%%EOF\n");
    return p.Save(path);
}

const char* StructurePdf::Name(Kind kind) {
    switch (kind) {
    case Kind::Features:
        return "features";
    case Kind::IncrementalUpdate:
        return "incremental";
    case Kind::ObjectStreams:
        return "objstm";
    case Kind::Linearized:
        return "linearized";
    case Kind::HybridXref:
        return "hybrid";
    case Kind::PackedLength:
        return "packed-length";
    case Kind::WrongOffset:
        return "wrong-offset";
    case Kind::WrongLength:
        return "wrong-length";
    case Kind::StrayHash:
        return "stray-hash";
    case Kind::WrongSize:
        return "wrong-size";
    case Kind::DamagedTable:
        return "damaged-table";
    case Kind::WhitespaceOffset:
        return "whitespace-offset";
    case Kind::NullOffset:
        return "null-offset";
    case Kind::WhitespaceBeforeXref:
        return "whitespace-before-xref";
    case Kind::MissingLength:
        return "missing-length";
    case Kind::CrOnly:
        return "cr-only";
    case Kind::DuplicateKey:
        return "duplicate-key";
    case Kind::ReferenceLoop:
        return "reference-loop";
    case Kind::BrokenPageTree:
        return "broken-page-tree";
    case Kind::OddToken:
        return "odd-token";
    }
    return "";
}
