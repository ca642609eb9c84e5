#include "core/StringUtil.h"

#include <charconv>

// The build system fixes the date per commit, so two builds of one commit match.
#ifndef PZ_BUILD_DATE
#error "PZ_BUILD_DATE must be defined by the build"
#endif

namespace {
// Formats with one decimal independently of the process locale, which GTK may
// have set from the environment. Not wxString::FromCDouble: worker threads call
// this, and wx builds its shared "C" locale lazily without a lock.
wxString OneDecimal(double value, const char* unit) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return wxString::FromAscii(text, end.ptr - text) + unit;
}
} // namespace

wxString StringUtil::FormatSize(uint64_t bytes) {
    double count = static_cast<double>(bytes);
    double kb = count / 1024;
    if (kb < 1)
        return OneDecimal(count, "B");
    double mb = kb / 1024;
    if (mb < 1)
        return OneDecimal(kb, "KB");
    double gb = mb / 1024;
    if (gb < 1)
        return OneDecimal(mb, "MB");
    return OneDecimal(gb, "GB");
}

wxString StringUtil::GetBuildDate() {
    return PZ_BUILD_DATE;
}

wxString StringUtil::GetBuildYear() {
    return GetBuildDate().AfterLast(' ');
}

wxString StringUtil::BeforeLast(const wxString& text, wxUniChar ch) {
    int pos = text.Find(ch, true);
    return pos == wxNOT_FOUND ? wxString() : text.Left(pos);
}

wxString StringUtil::AfterLast(const wxString& text, wxUniChar ch) {
    int pos = text.Find(ch, true);
    return pos == wxNOT_FOUND ? text : text.Mid(pos + 1);
}

wxString StringUtil::ToSlashes(const wxString& path) {
    wxString result = path;
#ifdef __WXMSW__
    result.Replace("\\", "/");
#endif
    return result;
}

bool StringUtil::IsAscii(const wxString& text) {
    for (wxUniChar ch : text) {
        if (!ch.IsAscii())
            return false;
    }
    return true;
}
