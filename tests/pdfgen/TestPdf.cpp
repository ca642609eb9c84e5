#include "TestPdf.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

// Collects numbered objects and writes them with a correct cross-reference table.
class PdfBuilder {
public:
    // Reserves the next object number.
    int reserve() {
        m_bodies.emplace_back();
        return static_cast<int>(m_bodies.size());
    }
    void set(int num, std::string body) { m_bodies[num - 1] = std::move(body); }
    int add(std::string body) {
        int n = reserve();
        set(n, std::move(body));
        return n;
    }

    // `brokenXref` points startxref at a wrong offset and garbles the table.
    bool write(const std::string& path, int root, bool brokenXref = false) const {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        std::string head = "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n";
        std::fwrite(head.data(), 1, head.size(), f);
        std::vector<long> offsets;
        long pos = static_cast<long>(head.size());
        for (size_t i = 0; i < m_bodies.size(); ++i) {
            offsets.push_back(pos);
            std::string obj = std::to_string(i + 1) + " 0 obj\n";
            std::fwrite(obj.data(), 1, obj.size(), f);
            std::fwrite(m_bodies[i].data(), 1, m_bodies[i].size(), f);
            static const char tail[] = "\nendobj\n";
            std::fwrite(tail, 1, sizeof tail - 1, f);
            pos += static_cast<long>(obj.size() + m_bodies[i].size() + sizeof tail - 1);
        }
        std::string xref = "xref\n0 " + std::to_string(m_bodies.size() + 1) + "\n";
        xref += "0000000000 65535 f \n";
        char line[32];
        for (long off : offsets) {
            std::snprintf(line, sizeof line, "%010ld 00000 n \n", brokenXref ? off + 7 : off);
            xref += line;
        }
        xref += "trailer\n<< /Size " + std::to_string(m_bodies.size() + 1) + " /Root " +
                std::to_string(root) + " 0 R >>\nstartxref\n" +
                std::to_string(brokenXref ? pos + 13 : pos) + "\n%%EOF\n";
        std::fwrite(xref.data(), 1, xref.size(), f);
        bool ok = !std::ferror(f);
        return std::fclose(f) == 0 && ok;
    }

private:
    std::vector<std::string> m_bodies;
};

std::string StreamObject(const std::string& dict, const std::string& data) {
    return "<< " + dict + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
           "\nendstream";
}

std::string PageText(int n) {
    return "BT /F1 24 Tf 72 720 Td (Test page " + std::to_string(n) + ") Tj ET";
}

// Incompressible bytes for padding streams.
std::string NoiseBytes(uint64_t count) {
    std::string data(count, '\0');
    std::mt19937_64 rng(42);
    for (size_t i = 0; i < data.size(); i += 8) {
        uint64_t v = rng();
        for (size_t k = 0; k < 8 && i + k < data.size(); ++k)
            data[i + k] = static_cast<char>(v >> (8 * k));
    }
    return data;
}

// Adds catalog, page tree and pages; returns the catalog's number. The first page
// uses `firstContent` as its content stream object when it is not 0.
int BuildDocument(PdfBuilder& b, int pages, uint64_t padBytes, int firstContent = 0) {
    int catalog = b.reserve();
    int tree = b.reserve();
    int font = b.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    int pad = 0;
    if (padBytes > 0)
        pad = b.add(StreamObject("/Type /XObject /Subtype /Image /Width 1 /Height " +
                                     std::to_string(padBytes) +
                                     " /ColorSpace /DeviceGray /BitsPerComponent 8",
                                 NoiseBytes(padBytes)));
    std::string kids;
    for (int i = 1; i <= pages; ++i) {
        int content =
            (i == 1 && firstContent) ? firstContent : b.add(StreamObject("", PageText(i)));
        std::string resources = "<< /Font << /F1 " + std::to_string(font) + " 0 R >>";
        if (i == 1 && pad)
            resources += " /XObject << /Pad " + std::to_string(pad) + " 0 R >>";
        resources += " >>";
        int page = b.add("<< /Type /Page /Parent " + std::to_string(tree) +
                         " 0 R /MediaBox [0 0 612 792] /Resources " + resources + " /Contents " +
                         std::to_string(content) + " 0 R >>");
        kids += std::to_string(page) + " 0 R ";
    }
    b.set(tree, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>");
    b.set(catalog, "<< /Type /Catalog /Pages " + std::to_string(tree) + " 0 R >>");
    return catalog;
}

bool WriteText(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

// Encrypts a clean file of `pages` pages into path with the qpdf tool.
bool EncryptWithTool(const std::string& path, const std::string& user, const std::string& owner,
                     const std::string& restrictions, int pages) {
    std::string plain = path + ".plain.pdf";
    if (!TestPdf::WritePages(plain, pages))
        return false;
    std::string cmd = "qpdf --encrypt " + Quote(user) + " " + Quote(owner) + " 256 " +
                      restrictions + " -- " + Quote(plain) + " " + Quote(path) + " >/dev/null 2>&1";
    int rc = std::system(cmd.c_str());
    std::remove(plain.c_str());
    return rc == 0;
}

} // namespace

bool TestPdf::WritePages(const std::string& path, int pages, uint64_t padBytes) {
    PdfBuilder b;
    int root = BuildDocument(b, pages < 0 ? 0 : pages, padBytes);
    return b.write(path, root);
}

bool TestPdf::WriteNeedsRepair(const std::string& path, int pages) {
    PdfBuilder b;
    int root = BuildDocument(b, pages, 0);
    return b.write(path, root, true);
}

bool TestPdf::WriteDamaged(const std::string& path) {
    return WriteText(path, "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 9 0 R\n"
                           "garbage that never closes \x01\x02\x03\n");
}

bool TestPdf::WriteNotPdf(const std::string& path) {
    return WriteText(path, "This is a plain text file, not a document.\n");
}

bool TestPdf::WriteUserPassword(const std::string& path, const std::string& userPassword,
                                const std::string& ownerPassword, int pages) {
    return EncryptWithTool(path, userPassword, ownerPassword, "", pages);
}

bool TestPdf::WriteOwnerOnly(const std::string& path, const std::string& ownerPassword, int pages) {
    return EncryptWithTool(path, "", ownerPassword, "--print=none --modify=none", pages);
}

bool TestPdf::WriteDeepPageTree(const std::string& path, int depth) {
    PdfBuilder b;
    int catalog = b.reserve();
    std::vector<int> nodes(static_cast<size_t>(depth));
    for (auto& n : nodes)
        n = b.reserve();
    int content = b.add(StreamObject("", PageText(1)));
    int page =
        b.add("<< /Type /Page /Parent " + std::to_string(nodes.back()) +
              " 0 R /MediaBox [0 0 612 792] /Contents " + std::to_string(content) + " 0 R >>");
    for (size_t i = 0; i < nodes.size(); ++i) {
        int kid = i + 1 < nodes.size() ? nodes[i + 1] : page;
        std::string parent = i ? " /Parent " + std::to_string(nodes[i - 1]) + " 0 R" : "";
        b.set(nodes[i],
              "<< /Type /Pages /Kids [" + std::to_string(kid) + " 0 R] /Count 1" + parent + " >>");
    }
    b.set(catalog, "<< /Type /Catalog /Pages " + std::to_string(nodes.front()) + " 0 R >>");
    return b.write(path, catalog);
}

bool TestPdf::WriteDecompressionBomb(const std::string& path, uint64_t inflatedBytes) {
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK)
        return false;
    std::string zeros(1 << 20, '\0');
    std::string out;
    std::vector<unsigned char> buf(1 << 16);
    uint64_t left = inflatedBytes;
    int flush = Z_NO_FLUSH;
    do {
        size_t chunk = left < zeros.size() ? static_cast<size_t>(left) : zeros.size();
        left -= chunk;
        flush = left ? Z_NO_FLUSH : Z_FINISH;
        z.next_in = reinterpret_cast<Bytef*>(zeros.data());
        z.avail_in = static_cast<uInt>(chunk);
        do {
            z.next_out = buf.data();
            z.avail_out = static_cast<uInt>(buf.size());
            deflate(&z, flush);
            out.append(reinterpret_cast<char*>(buf.data()), buf.size() - z.avail_out);
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&z);

    PdfBuilder b;
    int content = b.add(StreamObject("/Filter /FlateDecode", out));
    int root = BuildDocument(b, 1, 0, content);
    return b.write(path, root);
}
