#pragma once
// A file's objects as qpdf writes them in QDF form after decrypting it: streams
// raw (no decoding), no object streams, fixed /ID, renumbered in the order qpdf
// walks the document from its trailer. Two files with the same objects give the
// same text whoever wrote them. What an encrypting writer must change is left
// out: the version line, the trailer's other keys, and the catalog's Adobe
// extension entry that AES-256 below PDF 2.0 adds.

#include <string>

// Empty when the file does not open with `password`.
std::string QdfView(const std::string& path, const std::string& password = "");

// poppler's drawing of the first page at a low resolution, as PPM bytes; empty
// when pdftoppm fails.
std::string FirstPageImage(const std::string& path, const std::string& password = "");
