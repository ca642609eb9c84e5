#pragma once
// A qpdf token type as PdfScanner names its kind: the scanner's test and its fuzz
// target both compare the two tokenizers token by token.

#include "engine/host/PdfScanner.h"

#include <qpdf/QPDFTokenizer.hh>

inline PdfToken::Kind QpdfTokenKind(QPDFTokenizer::token_type_e t) {
    using Kind = PdfToken::Kind;
    switch (t) {
    case QPDFTokenizer::tt_array_close:
        return Kind::ArrayClose;
    case QPDFTokenizer::tt_array_open:
        return Kind::ArrayOpen;
    case QPDFTokenizer::tt_brace_close:
        return Kind::BraceClose;
    case QPDFTokenizer::tt_brace_open:
        return Kind::BraceOpen;
    case QPDFTokenizer::tt_dict_close:
        return Kind::DictClose;
    case QPDFTokenizer::tt_dict_open:
        return Kind::DictOpen;
    case QPDFTokenizer::tt_name:
        return Kind::Name;
    case QPDFTokenizer::tt_string:
        return Kind::String;
    case QPDFTokenizer::tt_integer:
    case QPDFTokenizer::tt_real:
    case QPDFTokenizer::tt_bool:
    case QPDFTokenizer::tt_null:
    case QPDFTokenizer::tt_word:
        return Kind::Word;
    case QPDFTokenizer::tt_eof:
        return Kind::End;
    default:
        return Kind::Bad;
    }
}
