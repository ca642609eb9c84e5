#pragma once
// Where every object of a parsed document lies in its file, read front to back
// through a bounded window. It is the one-pass writer's test of a source: each
// cross-reference offset must land on its "N G obj", each object must parse to
// one value followed by endobj, and each stream must end exactly where its
// /Length says. The same reading checks a written file.

#include <cstdint>
#include <string>
#include <vector>

class QPDF;
class SourceWindow;

struct LaidObject {
    enum class Role : uint8_t {
        Plain,         // any object that is not a stream
        Stream,        // stream data copied with the object's key
        ObjectStream,  // encrypted whole, like any stream
        XrefStream,    // replaced by the new cross-reference section
        Linearization, // the first object's /Linearized dictionary: no longer true
    };
    int num = 0;
    int gen = 0;
    Role role = Role::Plain;
    bool dictionary = false;    // the value is a dictionary
    bool hasExtensions = false; // ... with an /Extensions key
    bool crypt = false;         // a stream with a /Crypt filter: data left as it is
    uint64_t offset = 0;        // "N G obj"
    uint64_t bodyStart = 0;     // just after "obj"
    uint64_t bodyEnd = 0;       // after the value (a stream's dictionary)
    uint64_t lengthBegin = 0;   // a stream's /Length value, raw bytes
    uint64_t lengthEnd = 0;
    uint64_t plainBegin = 0; // a signature's /Contents string: never encrypted
    uint64_t plainEnd = 0;
    uint64_t dataStart = 0; // a stream's data
    uint64_t dataLength = 0;
    uint64_t end = 0; // after "endobj"
};

struct CompressedObject {
    int num = 0;
    int stream = 0; // number of the object stream that holds it
    int index = 0;
};

class SourceLayout {
public:
    // Objects larger than this (without their stream data) are left to qpdf's
    // writer: the window that reads them is this big.
    static constexpr size_t kMaxObjectBytes = 8u << 20;

    // Reads the layout of `pdf`, opened from the file `in` reads. False, with the
    // reason in `why`, when the file is not laid out as its cross-reference
    // section says. Indirect /Length values are read through `pdf`.
    bool Read(QPDF& pdf, SourceWindow& in, std::string& why);

    // In file order.
    const std::vector<LaidObject>& objects() const { return m_objects; }
    const std::vector<CompressedObject>& compressed() const { return m_compressed; }
    // One above the highest object number (and at least the trailer's /Size).
    int size() const { return m_size; }

private:
    enum class Parse { Ok, Bad, NeedMore };
    // `next` is the offset of the object after this one in the file.
    bool ReadObject(QPDF& pdf, SourceWindow& in, LaidObject& o, uint64_t next, std::string& why);
    Parse ParseObject(const char* data, size_t n, bool clipped, LaidObject& o, int64_t& length,
                      int& lengthNum, int& lengthGen);

    std::vector<LaidObject> m_objects;
    std::vector<CompressedObject> m_compressed;
    int m_size = 0;
};
