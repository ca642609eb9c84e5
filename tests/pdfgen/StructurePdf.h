#pragma once
// PDFs whose file structure exercises what a writer that copies objects one by
// one can get wrong: strings with every escape, binary strings, empty and
// /Crypt-filtered streams, indirect /Length, a generation-1 object, free numbers,
// incremental updates, object streams, linearization, hybrid cross-references,
// and sources whose cross-reference offsets or stream lengths are wrong.
// Some variants are made from the first with the Debian `qpdf` tool.

#include <string>
#include <vector>

class StructurePdf {
public:
    enum class Kind {
        Features,          // one page, the string and stream cases, a classic table
        IncrementalUpdate, // Features plus an update that changes, frees and adds objects
        ObjectStreams,     // Features rewritten by qpdf with object streams
        Linearized,        // Features linearized by qpdf
        HybridXref,        // a classic table plus an /XRefStm stream for compressed objects
        PackedLength,      // the content stream's /Length is an object in an object stream
        // Features without the /Crypt filter, and with ...
        WrongOffset, // ... the /Info entry pointing 2 bytes too far
        WrongLength, // ... the content stream's /Length 3 too short
        StrayHash,   // a page whose dictionary has a name with a stray '#': qpdf
                     // warns when it reads the page, yet every reader copes
        // One page (as StrayHash, without the odd name) with one fault readers
        // repair the way qpdf does:
        WrongSize,            // the trailer's /Size too small
        DamagedTable,         // startxref misses the table: readers scan the file
        WhitespaceOffset,     // an offset on the white space before its object
        NullOffset,           // an in-use entry at offset 0 (read as null)
        WhitespaceBeforeXref, // startxref on the white space before "xref"
        MissingLength,        // the content stream has no /Length
        CrOnly,               // CR alone after "stream"
        DuplicateKey,         // the page repeats /Type
        // ... or one only qpdf's writer repairs:
        ReferenceLoop,  // a stream outside the page tree whose /Length is itself
        BrokenPageTree, // the page has no /Type
        OddToken,       // an object outside the page tree holds a word that is no value
    };
    static bool Write(const std::string& path, Kind kind);
    static const char* Name(Kind kind);

    // One page with a link (object 4) whose /URI holds `uri`, written in hex, and
    // a fixed /ID, so files that differ only in `uri` get the same keys.
    static bool WriteLink(const std::string& path, const std::string& uri);

    // A catalog (object 1, /Pages 2 0 R) and `packed` as objects 2, 3, ... in one
    // object stream, listed by a cross-reference stream.
    static bool WriteObjectStream(const std::string& path, const std::vector<std::string>& packed);
};
