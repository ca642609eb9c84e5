#include "cli/PathListReader.h"

#include "cli/CliText.h"

#include <istream>

namespace {

// Of "line 3" in a list of lines, "name 3" in a NUL-separated one: one sentence
// each, for the languages where the word changes the sentence.
std::string Say(bool nulSeparated, const char* lines, const char* names, size_t number) {
    return FormatBytes(wxGetTranslation(nulSeparated ? names : lines), static_cast<int>(number));
}

} // namespace

bool PathListReader::Read(std::istream& in, bool nulSeparated, std::vector<std::string>& paths,
                          std::string& why) {
    const char end = nulSeparated ? '\0' : '\n';
    const size_t first = paths.size();
    std::string name;
    bool open = false; // bytes of a name are waiting for its end
    char buffer[1 << 16];
    auto finish = [&]() {
        const size_t number = paths.size() - first + 1;
        if (name.empty()) {
            why = Say(nulSeparated, wxTRANSLATE("line %d is empty"),
                      wxTRANSLATE("name %d is empty"), number);
            return false;
        }
        if (paths.size() - first >= kMaxNames) {
            why = FormatBytes(_("it lists more than %d files"), static_cast<int>(kMaxNames));
            return false;
        }
        paths.push_back(std::move(name));
        name.clear();
        open = false;
        return true;
    };
    while (in) {
        in.read(buffer, sizeof buffer);
        const std::streamsize got = in.gcount();
        for (std::streamsize i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == end) {
                if (!finish())
                    return false;
                continue;
            }
            const size_t number = paths.size() - first + 1;
            if (!nulSeparated && (c == '\0' || c == '\r')) {
                why = FormatBytes(c ? _("line %d holds a CR (use -0 for a NUL-separated list)")
                                    : _("line %d holds a NUL byte (use -0 for a NUL-separated "
                                        "list)"),
                                  static_cast<int>(number));
                return false;
            }
            if (name.size() == kMaxName) {
                why = FormatBytes(
                    wxGetTranslation(nulSeparated ? wxTRANSLATE("name %d is longer than %d bytes")
                                                  : wxTRANSLATE("line %d is longer than %d bytes")),
                    static_cast<int>(number), static_cast<int>(kMaxName));
                return false;
            }
            name += c;
            open = true;
        }
    }
    if (in.bad()) {
        why = TrUtf8("it cannot be read");
        return false;
    }
    // The last name may go without its end.
    return !open || finish();
}
