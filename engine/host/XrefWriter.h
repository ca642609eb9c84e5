#pragma once
// The new cross-reference section of a one-pass output: a classic table, or a
// cross-reference stream when objects live in object streams (type-2 entries keep
// their stream number and index). Free numbers form a proper free list.

#include <cstdint>
#include <string>
#include <vector>

class Pipeline;

class XrefWriter {
public:
    // Numbers 0 to size - 1, all free until set.
    explicit XrefWriter(int size);

    void SetOffset(int num, int gen, uint64_t offset);
    void SetCompressed(int num, int stream, int index);
    // An object left out of the output: its number is free, its next generation one up.
    void SetSkipped(int num, int gen);

    bool needsStream() const { return m_compressed; }

    // Writes the section, the trailer and the end of file. `at` is the section's
    // offset; `trailerKeys` the trailer entries besides /Size (and, for a stream,
    // its own keys). A stream section uses object number `streamNum`, which must be
    // below the size and not set otherwise. Returns the bytes written.
    uint64_t Write(Pipeline& out, uint64_t at, const std::string& trailerKeys, int streamNum);

private:
    struct Entry {
        uint64_t field = 0; // offset, or number of the object stream
        uint32_t index = 0; // position in the object stream
        uint16_t gen = 0;
        uint8_t type = 0; // 0 free, 1 in the file, 2 in an object stream
    };
    void LinkFreeList();

    std::vector<Entry> m_entries;
    bool m_compressed = false;
};
