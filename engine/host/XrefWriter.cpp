#include "engine/host/XrefWriter.h"

#include <qpdf/Pipeline.hh>

#include <algorithm>
#include <cstdio>

namespace {

void Put(Pipeline& out, const std::string& s, uint64_t& count) {
    out.write(reinterpret_cast<const unsigned char*>(s.data()), s.size());
    count += s.size();
}

int BytesFor(uint64_t v) {
    int n = 1;
    while (v >>= 8)
        ++n;
    return n;
}

// One row of a classic table, "oooooooooo ggggg n \n", formatted by hand: a
// table can have hundreds of thousands of rows.
void AppendRow(std::string& s, uint64_t field, unsigned gen, char kind) {
    char row[32];
    if (field > 9999999999ull) { // more digits than a row has: as printf has it
        std::snprintf(row, sizeof row, "%010llu %05u %c \n", static_cast<unsigned long long>(field),
                      gen, kind);
        s += row;
        return;
    }
    for (int i = 9; i >= 0; --i, field /= 10)
        row[i] = static_cast<char>('0' + field % 10);
    row[10] = ' ';
    for (int i = 15; i >= 11; --i, gen /= 10)
        row[i] = static_cast<char>('0' + gen % 10);
    row[16] = ' ';
    row[17] = kind;
    row[18] = ' ';
    row[19] = '\n';
    s.append(row, 20);
}

void PutBig(std::string& s, uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        s += static_cast<char>((v >> (8 * i)) & 0xff);
}

} // namespace

XrefWriter::XrefWriter(int size) : m_entries(static_cast<size_t>(size > 0 ? size : 1)) {}

void XrefWriter::SetOffset(int num, int gen, uint64_t offset) {
    Entry& e = m_entries.at(static_cast<size_t>(num));
    e = Entry{offset, 0, static_cast<uint16_t>(gen), 1};
}

void XrefWriter::SetCompressed(int num, int stream, int index) {
    m_entries.at(static_cast<size_t>(num)) =
        Entry{static_cast<uint64_t>(stream), static_cast<uint32_t>(index), 0, 2};
    m_compressed = true;
}

void XrefWriter::SetSkipped(int num, int gen) {
    m_entries.at(static_cast<size_t>(num)) =
        Entry{0, 0, static_cast<uint16_t>(gen < 65535 ? gen + 1 : 65535), 0};
}

void XrefWriter::LinkFreeList() {
    // Entry 0 heads the list; each free entry names the next, the last names 0.
    uint64_t next = 0;
    for (size_t i = m_entries.size(); i-- > 1;) {
        if (m_entries[i].type == 0) {
            m_entries[i].field = next;
            next = i;
        }
    }
    m_entries[0] = Entry{next, 0, 65535, 0};
}

uint64_t XrefWriter::Write(Pipeline& out, uint64_t at, const std::string& trailerKeys,
                           int streamNum) {
    uint64_t count = 0;
    const std::string size = std::to_string(m_entries.size());
    std::string chunk;
    chunk.reserve(1 << 16);
    if (!m_compressed) {
        LinkFreeList();
        Put(out, "xref\n0 " + size + "\n", count);
        for (const Entry& e : m_entries) {
            AppendRow(chunk, e.field, e.gen, e.type ? 'n' : 'f');
            if (chunk.size() >= (1 << 16) - 32) {
                Put(out, chunk, count);
                chunk.clear();
            }
        }
        Put(out, chunk, count);
        Put(out,
            "trailer\n<< /Size " + size + " " + trailerKeys + " >>\nstartxref\n" +
                std::to_string(at) + "\n%%EOF\n",
            count);
        return count;
    }

    SetOffset(streamNum, 0, at);
    LinkFreeList();
    uint64_t maxField = 0, maxSecond = 0;
    for (const Entry& e : m_entries) {
        maxField = std::max(maxField, e.field);
        maxSecond = std::max<uint64_t>(maxSecond, e.type == 2 ? e.index : e.gen);
    }
    const int w2 = BytesFor(maxField);
    const int w3 = BytesFor(maxSecond);
    const uint64_t length = m_entries.size() * static_cast<uint64_t>(1 + w2 + w3);
    Put(out,
        std::to_string(streamNum) + " 0 obj\n<< /Type /XRef /Size " + size + " /W [1 " +
            std::to_string(w2) + " " + std::to_string(w3) + "] " + trailerKeys + " /Length " +
            std::to_string(length) + " >>\nstream\n",
        count);
    for (const Entry& e : m_entries) {
        chunk += static_cast<char>(e.type);
        PutBig(chunk, e.field, w2);
        PutBig(chunk, e.type == 2 ? e.index : e.gen, w3);
        if (chunk.size() >= (1 << 16) - 32) {
            Put(out, chunk, count);
            chunk.clear();
        }
    }
    Put(out, chunk, count);
    Put(out, "\nendstream\nendobj\nstartxref\n" + std::to_string(at) + "\n%%EOF\n", count);
    return count;
}
