#pragma once
// The temporary file an output is written to, and how it becomes the output.
//
// The temporary name is short (so any output name that fits the folder fits it
// too), hidden, random and carries the writing process's id:
// ".pz-<pid>-<random>.tmp". It is created here with O_EXCL and the source's mode
// (the umask applies), so the program only ever removes a file it made, and a
// leftover whose process is gone can be recognised and swept later. It stays open
// for reading and writing: the engine host writes and checks it through that
// descriptor, never through its name.

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

class OutputFile {
public:
    enum class Commit {
        Done,    // the output is in place
        Refused, // an existing output may not be replaced
        Failed   // the rename failed (folder gone, permissions, ...)
    };
    using MayReplace = std::function<bool(uint64_t device, uint64_t inode)>;

    // Creates the temporary file beside output; empty() when it cannot.
    OutputFile(const std::string& output, unsigned mode);
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool empty() const { return m_temp.empty(); }
    const std::string& temp() const { return m_temp; }
    // The temporary file, open for reading and writing; -1 when empty().
    int fd() const { return m_fd; }
    // Set when the temporary file could not be removed.
    bool left() const { return m_left; }

    // Renames the temporary file to the output. An existing output is replaced only
    // when mayReplace allows it; where there is none, the rename never replaces one
    // that appears in the meantime.
    Commit Rename(const MayReplace& mayReplace);

    // Removes the temporary file if it is still the one made here.
    void Discard();

    // Removes from folder the temporary files of processes that are gone (once per
    // folder in a process's life).
    static void SweepStale(const std::string& folder);

private:
    bool IsOurs() const;

    std::string m_output;
    std::string m_temp;
    int m_fd = -1;
    dev_t m_dev = 0;
    ino_t m_ino = 0;
    bool m_committed = false;
    bool m_left = false;
};
