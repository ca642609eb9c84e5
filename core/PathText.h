#pragma once
// File names are bytes; the program's texts are Unicode. A name that is not valid
// UTF-8 must neither vanish nor merge with another, so every path crosses between
// the two through one lossless conversion: bytes that are not UTF-8 become
// characters of a private plane that turn back into the same bytes.

#include <wx/string.h>

#include <string>

class PathText {
public:
    // Makes wx's own file-name conversion (file dialogs, folder listings, stat
    // through fn_str) the lossless one. Call once at start, before any path is read.
    static void Install();

    static wxString FromBytes(const std::string& bytes);
    static std::string ToBytes(const wxString& path);

    // For the log, the terminal and the window: control characters and bytes that
    // are not UTF-8 written as \xNN, so a name can neither
    // forge a line nor move a terminal's cursor, and never shows as nothing.
    static wxString Printable(const wxString& text);
};
