#include "core/Utf8Fopen.h"

#ifdef __WXMSW__
#include <wx/string.h>
FILE* Utf8Fopen(const char* utf8Path, const char* mode) {
    if (!utf8Path || !mode)
        return nullptr;
    return _wfopen(wxString::FromUTF8(utf8Path).wc_str(), wxString(mode).wc_str());
}
#else
FILE* Utf8Fopen(const char* utf8Path, const char* mode) {
    if (!utf8Path || !mode)
        return nullptr;
    return std::fopen(utf8Path, mode);
}
#endif
