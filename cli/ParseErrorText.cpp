#include "cli/ParseErrorText.h"

#include "cli/CliText.h"

#include <regex>

namespace {
struct Pattern {
    const char* regex;  // CLI11's English sentence (CLI11 2.1)
    const char* format; // the same with the parts as %s, in their order
};

// TRANSLATORS: CLI11's refusals of a command line. The %s are option names and
// values as typed; keep their order with %1$s, %2$s... where the sentence needs it.
const Pattern kPatterns[] = {
    {"The following argument was not expected: (.*)",
     wxTRANSLATE("The following argument was not expected: %s")},
    {"The following arguments were not expected: (.*)",
     wxTRANSLATE("The following arguments were not expected: %s")},
    {"(\\S+) is required", wxTRANSLATE("%s is required")},
    {"(\\S+) requires (\\S+)", wxTRANSLATE("%s requires %s")},
    {"(\\S+) excludes (\\S+)", wxTRANSLATE("%s excludes %s")},
    {"(\\S+): 1 required (\\S+) missing", wxTRANSLATE("%s: 1 required %s missing")},
    {"(\\S+): Value (.*) not in range (\\S+) to (\\S+)",
     wxTRANSLATE("%s: Value %s not in range %s to %s")},
    {"(\\S+): (.*) not in \\{(.*)\\}", wxTRANSLATE("%s: %s not in {%s}")},
    {"Could not convert: (\\S+) = (.*)", wxTRANSLATE("Could not convert: %s = %s")},
};
} // namespace

std::string TranslateParseError(const std::string& english) {
    for (const Pattern& pattern : kPatterns) {
        std::smatch parts;
        if (!std::regex_match(english, parts, std::regex(pattern.regex)))
            continue;
        const wxString format = wxGetTranslation(pattern.format);
        switch (parts.size() - 1) {
        case 1:
            return FormatBytes(format, Name(parts[1]));
        case 2:
            return FormatBytes(format, Name(parts[1]), Name(parts[2]));
        case 3:
            return FormatBytes(format, Name(parts[1]), Name(parts[2]), Name(parts[3]));
        case 4:
            return FormatBytes(format, Name(parts[1]), Name(parts[2]), Name(parts[3]),
                               Name(parts[4]));
        }
    }
    return english;
}
