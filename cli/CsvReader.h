#pragma once
// Reads comma-separated rows as RFC 4180 writes them: fields in double quotes may
// hold commas, line breaks and doubled quotes; rows end in CRLF or LF. A UTF-8 byte
// order mark (spreadsheet programs write one) is skipped. A NUL byte, or a CR that
// does not end a line with its LF, makes the text not well-formed: either would
// silently change a path or a password.

#include <string>
#include <vector>

class CsvReader {
public:
    struct Row {
        int line = 0; // where the row starts, from 1
        std::vector<std::string> fields;
    };

    // False with error set (naming the line) when text is not well-formed CSV.
    static bool Parse(const std::string& text, std::vector<Row>& rows, std::string& error);
};
