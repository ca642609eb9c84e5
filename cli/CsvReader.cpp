#include "cli/CsvReader.h"

#include "cli/CliText.h"

bool CsvReader::Parse(const std::string& text, std::vector<Row>& rows, std::string& error) {
    rows.clear();
    Row row;
    std::string field;
    int line = 1;
    row.line = 1;
    bool quoted = false, afterQuote = false, any = false;
    auto endField = [&] {
        row.fields.push_back(field);
        field.clear();
        afterQuote = false;
    };
    auto endRow = [&] {
        endField();
        rows.push_back(row);
        row = Row();
        row.line = line;
        any = false;
    };
    const size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\0') {
            error = FormatBytes(_("line %d: a NUL byte"), line);
            return false;
        }
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
                afterQuote = true;
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == ',') {
            endField();
            any = true;
        } else if (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
            error = FormatBytes(
                _("line %d: a line ends in CR alone; save the table with LF or CRLF line ends"),
                line);
            return false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r')
                ++i;
            ++line;
            endRow();
        } else if (afterQuote) {
            error = FormatBytes(_("line %d: text after a closing quote"), line);
            return false;
        } else if (c == '"') {
            if (!field.empty()) {
                error = FormatBytes(_("line %d: a quote inside an unquoted field"), line);
                return false;
            }
            quoted = true;
            any = true;
        } else {
            field += c;
            any = true;
        }
    }
    if (quoted) {
        error = FormatBytes(_("line %d: a quoted field is never closed"), row.line);
        return false;
    }
    if (any || !field.empty())
        endRow();
    return true;
}
