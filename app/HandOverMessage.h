#pragma once
// What a later start sends the open window: the paths it was given. On the wire,
// "PZH1", the length of the rest as 4 bytes (most significant first), then every
// path's bytes followed by a NUL, which no path can hold. Whatever reaches the
// window's socket is untrusted: the length is bounded before anything is read, and
// a message that breaks any rule is dropped whole.

#include <wx/arrstr.h>

#include <cstddef>
#include <cstdint>
#include <string>

class HandOverMessage {
public:
    static constexpr size_t kHeaderBytes = 8;
    // Far more than a command line holds (the kernel's limit is 2 MB in all).
    static constexpr uint32_t kMaxPayloadBytes = 4u << 20;
    static constexpr size_t kMaxPaths = 10000;
    static constexpr size_t kMaxPathBytes = 4096;

    // The message for paths; "" when they break the bounds above.
    static std::string Encode(const wxArrayString& paths);

    // False as soon as the first bytes received (size of them) cannot begin a
    // message, so a stranger is dropped before it sends more.
    static bool CanBegin(const char* data, size_t size);
    // The length a whole header announces; false when it is not a header of ours or
    // announces more than kMaxPayloadBytes.
    static bool ReadHeader(const char* header, uint32_t& payloadBytes);
    // The paths of a payload; false when it is malformed (a path not ended by a NUL,
    // empty, too long, or too many of them).
    static bool Decode(const std::string& payload, wxArrayString& paths);
};
