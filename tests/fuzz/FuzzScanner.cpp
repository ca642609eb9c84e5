#include "FuzzTargets.h"
#include "QpdfTokenKind.h"

#include "engine/host/LiteralString.h"
#include "engine/host/PdfScanner.h"
#include "engine/host/StrictObjectReader.h"

#include <qpdf/BufferInputSource.hh>
#include <qpdf/QPDFTokenizer.hh>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using Kind = PdfToken::Kind;

[[noreturn]] void Fail(const char* what, size_t at) {
    std::fprintf(stderr, "pz-fuzz-scanner: %s at byte %zu\n", what, at);
    std::abort();
}

// A string as the one-pass writer writes it reads back as the same bytes.
void ExpectRoundTrip(const std::string& value, size_t at) {
    std::string written;
    LiteralString::Append(written, value.data(), value.size());
    PdfScanner again(written.data(), written.size());
    std::string read;
    const PdfToken t = again.Next(&read);
    if (t.kind != Kind::String || t.end != written.size() || read != value)
        Fail("a written string reads back otherwise", at);
}

} // namespace

int FuzzScanner(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    NodeFacts facts;
    StrictObjectReader::Read(bytes, size, facts);

    // Token by token beside qpdf's tokenizer, which decides what a reader sees.
    // Where either finds a token malformed the file goes to qpdf's writer, so
    // the comparison ends there.
    Buffer buffer(const_cast<unsigned char*>(data), size);
    auto input = std::make_shared<BufferInputSource>("fuzz", &buffer, false);
    QPDFTokenizer qpdfTokens;
    qpdfTokens.allowEOF();
    PdfScanner scanner(bytes, size);
    PdfScanner skim(bytes, size); // as the layout reads: strings stepped over
    skim.SetDecodeStrings(false);
    std::string value;
    for (;;) {
        const size_t at = scanner.pos();
        const QPDFTokenizer::Token expected = qpdfTokens.readToken(input, "fuzz", true);
        PdfToken t, u;
        do
            t = scanner.Next(&value);
        while (t.kind == Kind::Comment);
        do
            u = skim.Next();
        while (u.kind == Kind::Comment);
        if (t.kind != Kind::End && t.end <= at)
            Fail("no progress", at);
        if (t.kind != u.kind || (t.kind != Kind::Bad && t.end != u.end))
            Fail("skimming reads other tokens", at);
        const Kind kind = QpdfTokenKind(expected.getType());
        if (kind == Kind::Bad || t.kind == Kind::Bad)
            break;
        if (kind != t.kind)
            Fail("another kind of token than qpdf's", at);
        if (kind == Kind::End)
            break;
        if (expected.getRawValue() != std::string(bytes + t.begin, t.end - t.begin))
            Fail("other raw bytes than qpdf's", at);
        if (kind == Kind::String) {
            if (expected.getValue() != value)
                Fail("another string than qpdf's", at);
            ExpectRoundTrip(value, at);
        }
        // A name qpdf warns about sends the file to qpdf's writer.
        if (kind == Kind::Name && !scanner.IsWellFormedName(t))
            break;
        if (kind == Kind::Name && expected.getValue() != "/" + value)
            Fail("another name than qpdf's", at);
        int64_t number = 0;
        if (kind == Kind::Word && scanner.ToInt(t, number) &&
            expected.getType() != QPDFTokenizer::tt_integer)
            Fail("an integer qpdf does not read as one", at);
    }
    return 0;
}
