#pragma once
// The installed option file: the web addresses of help, support, update and
// download pages, taken by position. Read once at start-up, never written.

#include <wx/string.h>
#include <wx/xml/xml.h>

class DomainOption {
public:
    explicit DomainOption(const wxString& path);
    virtual ~DomainOption();

    // Parses the option file; false when it is missing, broken or short (the
    // values read before the gap are kept, the rest stay empty).
    bool ReadOptions();

    wxString GetHelpUrl() const { return m_values[0]; }
    wxString GetSupportUrl() const { return m_values[2]; }
    wxString GetDownloadUrl() const { return m_values[5]; }
    wxString GetUpdateUrl() const { return m_updateUrl; }
    // Value n (1 to 7) as read.
    wxString GetValue(int n) const;

private:
    wxString m_path;
    wxXmlDocument m_document;
    wxString m_values[7];
    wxString m_updateUrl;
};

// The option instance of the process; null until start-up creates it.
extern DomainOption* g_option;
