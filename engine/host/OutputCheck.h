#pragma once
// The check of a written file before it may replace anything. Every output must
// reopen with its password, be encrypted, list the source's number of pages and
// raise no qpdf warning the source did not raise. A one-pass output must also
// show, on disk, what a wrong offset, a short write or a wrong key would break:
// its cross-reference entries are where the writer put each object, every object
// header and stream end is at its place, and a spread of objects (strings, stream
// data, objects inside object streams) decrypt to exactly the source's.

#include "engine/host/OnePassWriter.h"
#include "engine/host/OpenDocument.h"

#include <string>
#include <vector>

class QPDF;
class SourceLayout;

class OutputCheck {
public:
    // Opens the output with the (already encoded) password; false when it does
    // not open or is not encrypted.
    bool Open(const std::string& path, const std::string& password);

    bool SamePages(int32_t pages);
    // True when every warning raised while the output was read is one of these.
    bool NoNewWarnings(const std::vector<std::string>& sourceWarnings);

    bool MatchesOnePassWrite(const std::string& path,
                             const std::vector<OnePassWriter::Written>& written,
                             const SourceLayout& layout, QPDF& source);

private:
    bool SameObject(QPDF& source, int num, int gen);

    OpenDocument m_doc;
    size_t m_streamBytes = 0; // stream data compared so far
};
