#pragma once
// The one-line progress display on standard error while files are encrypted.
// Workers report through Set; the display is redrawn by Draw from one thread.

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

class TerminalProgress {
public:
    TerminalProgress(FILE* stream, int slots, int totalFiles);

    void Set(int slot, const std::string& name, int percent);
    void FileDone();
    // Redraws the line; call about ten times a second.
    void Draw();
    // Clears the line so other output starts on a clean line.
    void Clear();

private:
    struct Slot {
        std::string name;
        int percent = -1;
    };
    FILE* m_stream;
    std::mutex m_mutex;
    std::vector<Slot> m_slots;
    int m_total;
    int m_done = 0;
    bool m_shown = false;
};
