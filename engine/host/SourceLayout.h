#pragma once
// Where every object of a parsed document lies in its file, read front to back
// through a bounded window, as qpdf reads it. It is the one-pass writer's test of
// a source: each object must parse to one value followed by endobj. What qpdf
// reads with a warning and repairs the same way every time is followed and
// recorded (SourceRepairs): offsets that miss their object make qpdf rebuild its
// table from a scan, which is then the map; a stream's data ends where its
// /Length says when "endstream" follows there, else at the first "endstream" or
// "endobj" after its start; names with a stray '#' and repeated keys are copied.

#include "engine/host/PackedIntegers.h"
#include "engine/host/SourceRepairs.h"

#include <cstdint>
#include <string>
#include <unordered_map>
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
    bool addLength = false;     // a stream without a /Length key: one is written
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
    // qpdf writer's reason (WriterChoice.h) in `why`, when the one-pass writer
    // cannot copy it as qpdf reads it. Indirect /Length values are read as qpdf
    // reads them. qpdf's warnings raised meanwhile are kept (warnings()).
    bool Read(QPDF& pdf, SourceWindow& in, std::string& why);

    // In file order.
    const std::vector<LaidObject>& objects() const { return m_objects; }
    const std::vector<CompressedObject>& compressed() const { return m_compressed; }
    // One above the highest object number (and at least the trailer's /Size).
    int size() const { return m_size; }
    // What was repaired on the way, besides what qpdf's warnings say.
    const SourceRepairs& repairs() const { return m_repairs; }
    // What qpdf warned about while the layout was read.
    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    enum class Parse { Ok, Bad, NeedMore, Misplaced };
    enum class Pass { Ok, Failed, Misplaced };
    Pass ReadObjects(QPDF& pdf, SourceWindow& in, std::string& why, int& misplaced);
    bool ReadTable(QPDF& pdf, int& highest, std::string& why);
    // `next` is the offset of the object after this one in the file.
    Parse ReadObject(QPDF& pdf, SourceWindow& in, LaidObject& o, uint64_t next, std::string& why);
    Parse ParseObject(const char* data, size_t n, bool clipped, LaidObject& o, int64_t& length,
                      int& lengthNum, int& lengthGen);
    bool EndStream(QPDF& pdf, SourceWindow& in, LaidObject& o, int64_t length, int lengthNum,
                   int lengthGen, std::string& why);
    int64_t IndirectLength(QPDF& pdf, int num, int gen);
    static uint64_t TableSignature(QPDF& pdf);

    std::vector<LaidObject> m_objects;
    std::vector<CompressedObject> m_compressed;
    std::unordered_map<int, int> m_streamOf; // compressed object -> its object stream
    PackedIntegers m_packed;
    SourceRepairs m_repairs;
    std::vector<std::string> m_warnings;
    std::vector<std::pair<size_t, size_t>> m_keys; // of the dictionary being read
    int m_size = 0;
    uint64_t m_tableSignature = 0; // of the in-use entries the pass followed
};
