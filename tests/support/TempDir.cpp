#include "TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

TempDir::TempDir() {
    char pattern[] = "/tmp/pz-test-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made)
        throw std::runtime_error("mkdtemp failed");
    m_path = made;
}

TempDir::~TempDir() {
    std::string cmd = "chmod -R u+rwx '" + m_path + "' 2>/dev/null; rm -rf '" + m_path + "'";
    if (std::system(cmd.c_str()) != 0) {
        // Leftovers in /tmp are harmless.
    }
}

void TempDir::WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

std::string TempDir::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

bool TempDir::Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

void TempDir::MakeDir(const std::string& path) {
    ::mkdir(path.c_str(), 0755);
}

std::string TempDir::ListDir(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(path.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ",") + name;
    return joined;
}

ScopedHome::ScopedHome() {
    if (const char* home = std::getenv("HOME")) {
        m_hadHome = true;
        m_oldHome = home;
    }
    ::setenv("HOME", m_dir.path().c_str(), 1);
    // The documents folder comes from the XDG user dirs under HOME, never the real one.
    ::setenv("XDG_CONFIG_HOME", (m_dir.path() + "/.config").c_str(), 1);
}

ScopedHome::~ScopedHome() {
    if (m_hadHome)
        ::setenv("HOME", m_oldHome.c_str(), 1);
    else
        ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
}
