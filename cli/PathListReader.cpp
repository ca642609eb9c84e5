#include "cli/PathListReader.h"

#include <istream>

namespace {

// "line 3" in a list of lines, "name 3" in a NUL-separated one.
std::string Where(bool nulSeparated, size_t number) {
    return (nulSeparated ? "name " : "line ") + std::to_string(number);
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
            why = Where(nulSeparated, number) + " is empty";
            return false;
        }
        if (paths.size() - first >= kMaxNames) {
            why = "it lists more than " + std::to_string(kMaxNames) + " files";
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
                why = Where(false, number) + " holds a " + (c ? "CR" : "NUL byte") +
                      " (use -0 for a NUL-separated list)";
                return false;
            }
            if (name.size() == kMaxName) {
                why = Where(nulSeparated, number) + " is longer than " + std::to_string(kMaxName) +
                      " bytes";
                return false;
            }
            name += c;
            open = true;
        }
    }
    if (in.bad()) {
        why = "it cannot be read";
        return false;
    }
    // The last name may go without its end.
    return !open || finish();
}
