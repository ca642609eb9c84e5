#include "cli/TerminalProgress.h"

TerminalProgress::TerminalProgress(FILE* stream, int slots, int totalFiles)
    : m_stream(stream), m_slots(static_cast<size_t>(slots)), m_total(totalFiles) {}

void TerminalProgress::Set(int slot, const std::string& name, int percent) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_slots[static_cast<size_t>(slot)] = Slot{name, percent};
}

void TerminalProgress::FileDone() {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_done;
}

void TerminalProgress::Draw() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string line = "[" + std::to_string(m_done) + "/" + std::to_string(m_total) + "]";
    for (const Slot& s : m_slots) {
        if (s.percent < 0)
            continue;
        std::string name = s.name.size() > 30 ? "..." + s.name.substr(s.name.size() - 27) : s.name;
        line += "  " + name + " " + std::to_string(s.percent) + "%";
    }
    std::fprintf(m_stream, "\r\033[K%s", line.c_str());
    std::fflush(m_stream);
    m_shown = true;
}

void TerminalProgress::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_shown)
        return;
    std::fputs("\r\033[K", m_stream);
    std::fflush(m_stream);
    m_shown = false;
}
