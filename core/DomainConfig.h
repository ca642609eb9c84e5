#pragma once
// The two remembered folders, mirrored in the settings file of the work directory.
// Read once when constructed, written once when destroyed.

#include <wx/string.h>

class DomainConfig {
public:
    explicit DomainConfig(const wxString& path);
    virtual ~DomainConfig();

    wxString GetLastConvertDir() const { return m_lastConvertDir; }
    wxString GetLastOutputDir() const { return m_lastOutputDir; }
    void SetLastConvertDir(const wxString& dir) { m_lastConvertDir = dir; }
    void SetLastOutputDir(const wxString& dir) { m_lastOutputDir = dir; }
    wxString GetPath() const { return m_path; }

    // The five-line template written for a missing or unusable file.
    static const char* DefaultTemplate();

    bool IsValid() const;
    bool CreateDefault(bool force) const;
    void Load();
    bool Save() const;

private:
    wxString m_path;
    wxString m_lastConvertDir;
    wxString m_lastOutputDir;
};

// The settings instance of the process; null until start-up creates it.
extern DomainConfig* g_config;
