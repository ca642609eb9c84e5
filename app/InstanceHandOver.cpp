#include "app/InstanceHandOver.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/ipc.h>
#include <wx/log.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

#include <string>

namespace {

const char* const kTopic = "pdfzerovovor-files";
// A second start may come while the first is still on its way up and has the
// lock but not yet its socket: try for a little while.
const int kConnectAttempts = 20;
const int kConnectPauseMs = 100;

// Paths travel as UTF-8, each ended by a NUL, which no path can hold.
std::string Encode(const wxArrayString& paths) {
    std::string data;
    for (const wxString& path : paths) {
        data += path.utf8_string();
        data += '\0';
    }
    // The library refuses an empty message; a lone NUL is a start without files.
    if (data.empty())
        data += '\0';
    return data;
}

wxArrayString Decode(const void* data, size_t size) {
    wxArrayString paths;
    const char* bytes = static_cast<const char*>(data);
    size_t start = 0;
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != '\0')
            continue;
        if (i > start)
            paths.Add(wxString::FromUTF8(bytes + start, i - start));
        start = i + 1;
    }
    return paths;
}

class HandOverConnection : public wxConnection {
public:
    explicit HandOverConnection(const InstanceHandOver::Receiver& receiver)
        : m_receiver(receiver) {}

    bool OnExecute(const wxString&, const void* data, size_t size, wxIPCFormat) override {
        // Answer at once and add the files from the event loop: adding probes
        // every file and may ask questions, which the sender must not wait for.
        wxArrayString paths = Decode(data, size);
        InstanceHandOver::Receiver receiver = m_receiver;
        if (wxTheApp)
            wxTheApp->CallAfter([receiver, paths] { receiver(paths); });
        return true;
    }

private:
    InstanceHandOver::Receiver m_receiver;
};

class HandOverServer : public wxServer {
public:
    explicit HandOverServer(const InstanceHandOver::Receiver& receiver) : m_receiver(receiver) {}

    wxConnectionBase* OnAcceptConnection(const wxString& topic) override {
        return topic == kTopic ? new HandOverConnection(m_receiver) : nullptr;
    }

private:
    InstanceHandOver::Receiver m_receiver;
};

} // namespace

InstanceHandOver::InstanceHandOver(const wxString& folder) : m_folder(folder) {}

InstanceHandOver::~InstanceHandOver() = default;

wxString InstanceHandOver::DefaultFolder() {
    wxString runtime;
    if (wxGetEnv("XDG_RUNTIME_DIR", &runtime) && wxFileName::DirExists(runtime))
        return runtime;
    return wxGetHomeDir();
}

wxString InstanceHandOver::GetLockName() const {
    // The host name keeps two machines that share a home folder apart.
    return ".pdfzerovovor-" + wxGetHostName() + ".lock";
}

wxString InstanceHandOver::GetSocketPath() const {
    return m_folder + "/.pdfzerovovor-" + wxGetHostName() + ".socket";
}

bool InstanceHandOver::AnotherHoldsTheLock() const {
    // Removing a stale lock is reported as a log message, which would become a box.
    wxLogNull quiet;
    wxSingleInstanceChecker checker;
    return checker.Create(GetLockName(), m_folder) && checker.IsAnotherRunning();
}

bool InstanceHandOver::Claim(const Receiver& receiver) {
    wxLogNull quiet;
    m_checker = std::make_unique<wxSingleInstanceChecker>();
    // A lock that cannot be made (unwritable folder) is no reason not to start.
    if (m_checker->Create(GetLockName(), m_folder) && m_checker->IsAnotherRunning()) {
        m_checker.reset();
        return false;
    }
    // The server removes a socket file left by a dead process before listening.
    auto server = std::make_unique<HandOverServer>(receiver);
    if (server->Create(GetSocketPath()))
        m_server = std::move(server);
    return true;
}

bool InstanceHandOver::HandOver(const wxArrayString& paths) const {
    wxLogNull quiet;
    const std::string data = Encode(paths);
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        wxClient client;
        std::unique_ptr<wxConnectionBase> connection(
            client.MakeConnection("localhost", GetSocketPath(), kTopic));
        if (connection) {
            const bool sent = connection->Execute(static_cast<const void*>(data.data()),
                                                  data.size(), wxIPC_PRIVATE);
            connection->Disconnect();
            return sent;
        }
        // Whoever held the lock is gone: nobody is left to take the files.
        if (!AnotherHoldsTheLock())
            return false;
        wxMilliSleep(kConnectPauseMs);
    }
    return false;
}
