#pragma once
// Which writer takes a file, and why, in short stable words. The words are
// the same in the host's reply, the batch result, the log record, the CLI's
// --json object ("reason") and pz-writer-paths; change none without need.
//
// One-pass writer (the reason lists every repair, joined by '+', or is "clean"):
//   clean                nothing to repair
//   wrong-size           the trailer's /Size is not one above the highest number
//   xref-whitespace      white space before "xref" where startxref points
//   xref-rebuilt         a table that cannot be used, or offsets that miss their
//                        object: the map is qpdf's scan for "N G obj", last wins
//   null-offset          an entry at offset 0, which readers take for null
//   stream-length        a wrong or missing /Length: the data ends at endstream
//   stream-eol           CR alone, or other white space, after "stream"
//   stray-hash           names with a stray '#', copied byte for byte
//   duplicate-key        repeated dictionary keys, copied byte for byte
// qpdf's writer (one reason):
//   encrypted-source     the source is encrypted: qpdf decrypts it on the way
//   decrypted-output     the output is written without encryption
//   reference-loop       an object that refers to itself where a value is needed
//   broken-page-tree     qpdf repaired the page tree while listing the pages
//   qpdf-repair          qpdf repaired something else at the object level
//   unparsable-object    an object only qpdf can read (bad tokens, clipped values)
//   overlapping-objects  objects that share bytes in the file
//   object-too-large     an object (without its stream data) above the read window
//   sparse-numbers       object numbers far beyond the number of objects
//   unusual-xref         entries the new section cannot carry (two generations of
//                        a number, a compressed object outside an object stream)
//   one-pass-failed      the one-pass writer failed, or its output failed its
//                        check: qpdf's writer wrote the file anew

#include <string>

// Which writer produced an output.
enum class WriterUsed { None, OnePass, Qpdf };

struct WriterChoice {
    WriterUsed writer = WriterUsed::None;
    std::string reason; // one of the words above
};
