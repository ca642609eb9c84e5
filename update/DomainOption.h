#pragma once
// The installed option file: the web addresses of help, support, update and
// download pages, taken by position. Read once at start-up, never written.
// Also runs the update check: download the update description on a worker
// thread, find the newest version published for this product and hand it to the
// GUI through the update-result relay (update/UpdateResultRelay.h; update/UpdateResultEvent.h
// turns it into the main window's event).

#include <wx/string.h>
#include <wx/xml/xml.h>

#include <functional>
#include <optional>
#include <string>

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

    // Starts one update check on a detached worker thread and returns at once.
    // The address is copied here, so the check never reads this instance again
    // (shutdown deletes it while a check may still be running). The outcome
    // arrives as an EVT_UPDATE_RESULT event at the attached target, or is dropped
    // when none is attached any more. GUI thread only.
    void StartUpdateCheck();

    // The body of the worker thread: downloads the update description at
    // updateUrl (UTF-8), finds the latest version and delivers it through the
    // relay. Returns the version delivered (empty for every kind of failure).
    static wxString RunUpdateCheck(const std::string& updateUrl);

    // The version text a downloaded body names for this product; empty for an
    // empty body, a body that is not well-formed XML or no match.
    static wxString LatestVersionFromBody(const std::string& body);

    // Fetches url (UTF-8) with redirects followed and the connect and total
    // time-outs in force. Prints "url: <url>" and, on a transport failure,
    // "error num: <libcurl code>" to standard output. An HTTP error status with a
    // body still returns that body. Nothing on failure, or when shouldStop
    // answers true while the transfer runs.
    static std::optional<std::string> Download(const std::string& url,
                                               const std::function<bool()>& shouldStop = {});

    // Within each child of the root, the first attribute whose value equals
    // productName and that has a following attribute selects that following
    // attribute's value; the last such child in document order wins.
    static wxString FindLatestVersion(const wxXmlDocument& document, const wxString& productName);

    // Time-outs of Download in milliseconds; a slow or silent server ends the
    // check after totalMs. Tests shorten them.
    static void SetDownloadTimeouts(long connectMs, long totalMs);
    static long GetConnectTimeoutMs();
    static long GetTotalTimeoutMs();

private:
    wxString m_path;
    wxXmlDocument m_document;
    wxString m_values[7];
    wxString m_updateUrl;
};

// The option instance of the process; null until start-up creates it.
extern DomainOption* g_option;
