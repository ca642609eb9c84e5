#pragma once
// A fresh folder under /tmp for one test, removed with everything in it afterwards.

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    // Helpers for arranging files.
    static void WriteFile(const std::string& path, const std::string& data);
    static std::string ReadFile(const std::string& path);
    static bool Exists(const std::string& path);
    static void MakeDir(const std::string& path);
    // Names of the entries of a folder, sorted.
    static std::string ListDir(const std::string& path);

private:
    std::string m_path;
};

// Points HOME (and with it the documents folder) at a temporary folder for the
// lifetime of the object, so tests never touch the real one.
class ScopedHome {
public:
    ScopedHome();
    ~ScopedHome();
    const std::string& path() const { return m_dir.path(); }

private:
    TempDir m_dir;
    std::string m_oldHome;
    bool m_hadHome = false;
};
