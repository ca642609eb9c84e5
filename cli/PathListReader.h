#pragma once
// --files-from: a list of paths, one per line or each ended by a NUL byte (-0), as
// find -print0 and xargs -0 exchange them. Read as a stream, so a list of a hundred
// thousand names costs one pass and the memory of the names. A list that cannot be
// read with certainty is refused whole, like a password table: an empty name, a
// NUL byte or a CR in a list of lines (use -0 for such names), a name longer than
// any path may be, or more names than any run takes.

#include <iosfwd>
#include <string>
#include <vector>

class PathListReader {
public:
    static constexpr size_t kMaxName = 4095;     // PATH_MAX less its terminating NUL
    static constexpr size_t kMaxNames = 1000000; // a million files per run

    // Appends the names of `in` to paths; false with why set when the list is refused
    // (then paths holds what was read so far and is to be dropped).
    static bool Read(std::istream& in, bool nulSeparated, std::vector<std::string>& paths,
                     std::string& why);
};
