#pragma once
// Comparison keys for dotted version texts. A key fills at most 9 bytes of a
// zero-filled 10-byte area and keys compare with strncmp over 9 bytes, so that
// 2.1.4 < 2.1.10 < 2.2.0 < 10.0.0.

#include <wx/string.h>

constexpr int kVersionKeyArea = 10;
constexpr int kVersionKeyCapacity = 9;

// Writes the key of versionUtf8 into key (kVersionKeyArea bytes, zero-filled first).
// Three parts of three digits each: "2.1.10" -> "002001010". Missing parts count
// as 0, parts beyond the third are ignored, a part above 999 counts as 999, and
// anything after a part's leading digits ("4beta") is ignored.
void MakeVersionKey(char* key, const char* versionUtf8);

// strncmp of the two keys over 9 bytes: negative when a is older than b.
int CompareVersions(const wxString& a, const wxString& b);
