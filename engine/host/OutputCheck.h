#pragma once
// The check of a written file before it may replace anything. Every output must
// reopen with its password, be encrypted, have the source's pages and raise no
// qpdf warning the source did not raise. A one-pass output must also show, on
// disk, what a wrong offset, a short write or a wrong key would break: its
// cross-reference entries are where the writer put each object, every object
// header and stream end is at its place, a spread of objects (strings, stream
// data) and every object stream decrypt to exactly the source's.
// Its pages are not listed anew by qpdf, which parses every page dictionary and
// every object stream holding one: with object streams the page tree is checked
// node by node, without them the pages are counted from the inner nodes.

#include "engine/host/OnePassWriter.h"
#include "engine/host/OpenDocument.h"
#include "engine/host/SourceWindow.h"

#include <memory>
#include <string>
#include <vector>

class MappedInput;
class PageTree;
class QPDF;
class SourceLayout;

class OutputCheck {
public:
    // Opens the output fd reads with the (already encoded) password; false when
    // it does not open or is not encrypted. fd stays the caller's and must stay
    // open while the check runs.
    // `encrypted`: whether the output is to be encrypted (a decrypted copy is not).
    bool Open(int fd, const std::string& password, bool encrypted = true);

    // qpdf lists the output's pages: there are `pages` of them.
    bool SamePages(int32_t pages);
    // The same for a one-pass output, read more cheaply: the output's root and
    // inner nodes are read by qpdf and their /Kids followed; a kid that is a page
    // of the source's tree (`walked`, else qpdf's listing of `source`) is counted
    // without reading it, since its place in the file was checked and a page may
    // list tens of thousands of annotations.
    bool SamePageCount(QPDF& source, int32_t pages, const PageTree* walked = nullptr);
    // The output's page tree is the source's: every object stream decrypts to the
    // source's bytes (so every object in one is the same), and every page and
    // page-tree node outside them decrypts to the source's object. `pages` is the
    // number of pages the probe listed in the source; `walked` its tree when the
    // probe walked it without qpdf, else qpdf's listing is walked. `written` says
    // where the one-pass writer put each object stream's data.
    bool SamePageTree(QPDF& source, const SourceLayout& layout,
                      const std::vector<OnePassWriter::Written>& written, int32_t pages,
                      const PageTree* walked = nullptr);
    // True when every warning raised while the output was read is one of these.
    bool NoNewWarnings(const std::vector<std::string>& sourceWarnings);

    bool MatchesOnePassWrite(const std::vector<OnePassWriter::Written>& written,
                             const SourceLayout& layout, QPDF& source);

    // The mapping the source is read through, if any: its pages are let go after
    // each object read from it. A warm page cache maps a megabyte or two at a
    // time, so a spread of samples would otherwise hold tens of megabytes.
    void SetSourceInput(MappedInput* input) { m_sourceInput = input; }

private:
    bool SameObject(QPDF& source, int num, int gen);
    void ReleaseSource();
    SourceWindow* Output();

    OpenDocument m_doc;
    int m_fd = -1;
    std::unique_ptr<SourceWindow> m_output; // the written file's bytes, opened when first read
    MappedInput* m_sourceInput = nullptr;
    size_t m_streamBytes = 0; // stream data compared so far
};
