#include "skin/FaceLayout.h"

#include "core/Utf8Fopen.h"

#include <expat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

FaceLayout* g_faceLayout = nullptr;

const FaceRect* FaceLayout::Find(const wxString& path) const {
    auto it = m_entries.find(path);
    return it == m_entries.end() ? nullptr : it->second.get();
}

void FaceLayout::Set(const wxString& path, const FaceRect& rect) {
    m_entries[path] = std::make_unique<FaceRect>(rect);
}

namespace {
struct ParseState {
    FaceLayout* layout;
    std::vector<wxString> paths; // element path stack
};

void XMLCALL OnStartElement(void* userData, const XML_Char* name, const XML_Char** attributes) {
    auto* state = static_cast<ParseState*>(userData);
    wxString parent = state->paths.empty() ? wxString() : state->paths.back();
    state->paths.push_back(parent + "/" + wxString::FromUTF8(name));
    if (!attributes || !attributes[0])
        return;
    FaceRect rect;
    for (int i = 0; attributes[i] && attributes[i + 1]; i += 2) {
        const char* key = attributes[i];
        // A value that is not a number reads as 0, as it always has.
        const int value = static_cast<int>(std::strtol(attributes[i + 1], nullptr, 10));
        if (std::strcmp(key, "x") == 0)
            rect.x = value;
        else if (std::strcmp(key, "y") == 0)
            rect.y = value;
        else if (std::strcmp(key, "width") == 0)
            rect.width = value;
        else
            rect.value = value;
    }
    state->layout->Set(state->paths.back(), rect);
}

void XMLCALL OnEndElement(void* userData, const XML_Char*) {
    auto* state = static_cast<ParseState*>(userData);
    if (!state->paths.empty())
        state->paths.pop_back();
}
} // namespace

int LoadFaceLayout(const wxString& path, FaceLayout& layout) {
    FILE* file = Utf8Fopen(path.utf8_str(), "r");
    if (!file)
        return -1;

    ParseState state{&layout, {}};
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, OnStartElement, OnEndElement);

    std::vector<char> buffer(1024);
    for (;;) {
        if (std::feof(file)) {
            XML_Parse(parser, nullptr, 0, XML_TRUE);
            break;
        }
        size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
        if (XML_Parse(parser, buffer.data(), static_cast<int>(n), XML_FALSE) == XML_STATUS_ERROR) {
            std::fprintf(stderr, "%s at line %lu ->%s\n", XML_ErrorString(XML_GetErrorCode(parser)),
                         static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)),
                         static_cast<const char*>(path.utf8_str()));
            XML_Parse(parser, nullptr, 0, XML_TRUE);
            break;
        }
        if (std::ferror(file))
            break;
    }
    XML_ParserFree(parser);
    std::fclose(file);
    return 0;
}
