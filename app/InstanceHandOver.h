#pragma once
// One window per user. The first start takes a lock and listens on a socket, both
// in a per-user folder; a later start hands its files to that window and ends. A
// lock left behind by a dead process, or a window that does not answer, never
// keeps the program from starting on its own; a client that sends anything but a
// well-formed message (HandOverMessage) never holds up or harms the window.

#include <wx/arrstr.h>
#include <wx/string.h>

#include <functional>
#include <memory>

class HandOverServer;
class wxSingleInstanceChecker;

class InstanceHandOver {
public:
    // Receives the files of a later start (possibly none) on the GUI thread.
    typedef std::function<void(const wxArrayString& paths)> Receiver;

    // folder: where the lock file and the socket live.
    explicit InstanceHandOver(const wxString& folder);
    ~InstanceHandOver();
    InstanceHandOver(const InstanceHandOver&) = delete;
    InstanceHandOver& operator=(const InstanceHandOver&) = delete;

    // The session's runtime folder ($XDG_RUNTIME_DIR) when there is one, else the
    // home folder.
    static wxString DefaultFolder();

    // True when no other start of the program holds the lock: this process then
    // takes it and passes what later starts send to receiver. False when another
    // one holds it; call HandOver next.
    bool Claim(const Receiver& receiver);
    // Sends absolute paths to the process holding the lock; false when it does not
    // take them (it is gone, never opened its socket, or does not answer in time).
    bool HandOver(const wxArrayString& paths) const;

    wxString GetSocketPath() const;
    wxString GetLockName() const;

private:
    bool AnotherHoldsTheLock() const;

    wxString m_folder;
    std::unique_ptr<wxSingleInstanceChecker> m_checker;
    std::unique_ptr<HandOverServer> m_server;
};
