#pragma once
// Replaces a file in one step: the data goes to a temporary file beside it, is
// flushed to disk, and only then renamed over the target.

#include <wx/string.h>
#include <cstddef>
#include <string>

class AtomicFileWriter {
public:
    static bool Write(const wxString& path, const std::string& data);

    // Tests make the next writes fail after this many bytes, as a full disk or a
    // crash half-way would; SIZE_MAX turns it off.
    static void FailAfterBytesForTesting(size_t bytes);
};
