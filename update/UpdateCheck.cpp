// The update check of DomainOption: download, parse, deliver.
#include "update/DomainOption.h"

#include "core/AppUtil.h"
#include "update/UpdateResultRelay.h"

#include <curl/curl.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/wxcrt.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>

namespace {
// Long enough for a slow line, short enough that a dead server does not leave
// the user waiting for a box indefinitely.
std::atomic<long> g_connectTimeoutMs{15000};
std::atomic<long> g_totalTimeoutMs{30000};

// The update description is a few hundred bytes; anything this large is not one.
constexpr size_t kMaxBodyBytes = size_t{64} * 1024;
// A version is a few dotted numbers; anything else in its place (a 3 MB string
// froze the window and filled a box) is not an answer.
constexpr size_t kMaxVersionLength = 32;

bool IsVersionToken(const wxString& text) {
    if (text.empty() || text.length() > kMaxVersionLength || !wxIsdigit(text[0]) ||
        !wxIsdigit(text.Last()))
        return false;
    for (wxUniChar ch : text) {
        if (!wxIsdigit(ch) && ch != '.')
            return false;
    }
    return !text.Contains("..");
}

struct Transfer {
    std::string body;
    const std::function<bool()>* shouldStop = nullptr;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    if (!user)
        return 0;
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->body.size() + bytes > kMaxBodyBytes)
        return 0;
    transfer->body.append(data, bytes);
    return bytes;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    return transfer->shouldStop && *transfer->shouldStop && (*transfer->shouldStop)() ? 1 : 0;
}

// libcurl's global set-up is not thread-safe; do it once, before the first
// worker starts. It is never undone: a check may still run at exit.
void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}
} // namespace

void DomainOption::SetDownloadTimeouts(long connectMs, long totalMs) {
    g_connectTimeoutMs = connectMs;
    g_totalTimeoutMs = totalMs;
}

long DomainOption::GetConnectTimeoutMs() {
    return g_connectTimeoutMs;
}

long DomainOption::GetTotalTimeoutMs() {
    return g_totalTimeoutMs;
}

std::optional<std::string> DomainOption::Download(const std::string& url,
                                                  const std::function<bool()>& shouldStop) {
    std::printf("url: %s\n", url.c_str());
    std::fflush(stdout);
    InitCurlOnce();

    Transfer transfer;
    transfer.shouldStop = &shouldStop;
    CURL* curl = curl_easy_init();
    if (!curl)
        return std::nullopt;

    // Only the web: a redirect to file:// or another scheme must not read local
    // files or reach other services on the user's behalf.
    const bool configured =
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer) == CURLE_OK &&
        // Time-outs on a worker thread need the resolver without signals.
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, g_connectTimeoutMs.load()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, g_totalTimeoutMs.load()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
    if (!configured) {
        curl_easy_cleanup(curl);
        return std::nullopt;
    }

    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (result != CURLE_OK) {
        std::printf("error num: %d\n", static_cast<int>(result));
        std::fflush(stdout);
        return std::nullopt;
    }
    return std::move(transfer.body);
}

wxString DomainOption::FindLatestVersion(const wxXmlDocument& document,
                                         const wxString& productName) {
    const wxXmlNode* root = document.GetRoot();
    if (!root)
        return wxString();
    wxString version;
    for (const wxXmlNode* child = root->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE)
            continue;
        for (const wxXmlAttribute* attr = child->GetAttributes(); attr; attr = attr->GetNext()) {
            if (attr->GetValue() == productName && attr->GetNext()) {
                version = attr->GetNext()->GetValue();
                break;
            }
        }
    }
    return version;
}

wxString DomainOption::LatestVersionFromBody(const std::string& body) {
    wxXmlDocument document;
    {
        // A broken description is an ordinary failure, not something to log.
        wxLogNull quiet;
        wxMemoryInputStream stream(body.data(), body.size());
        if (body.empty() || !document.Load(stream, "UTF-8") || !document.GetRoot()) {
            // The server answered, but not with a description: not a network fault.
            std::printf("error: the answer is not an update description\n");
            std::fflush(stdout);
            return wxString();
        }
    }
    const wxString version = FindLatestVersion(document, AppUtil::GetProductName());
    return IsVersionToken(version) ? version : wxString();
}

wxString DomainOption::RunUpdateCheck(const std::string& updateUrl) {
    const unsigned long generation = UpdateResultRelay::GetGeneration();
    auto abandoned = [generation] { return UpdateResultRelay::GetGeneration() != generation; };

    // An empty address (no option file) fails in libcurl like any bad address.
    const std::optional<std::string> body = Download(updateUrl, abandoned);
    // Deep in shutdown nobody wants the answer; skip the parsing too.
    if (abandoned())
        return wxString();
    const wxString version = body ? LatestVersionFromBody(*body) : wxString();
    if (abandoned())
        return wxString();
    UpdateResultRelay::Deliver(version);
    return version;
}

void DomainOption::StartUpdateCheck() {
    InitCurlOnce();
    const std::string url(GetUpdateUrl().utf8_str());
    // A plain detached thread, not a wxThread: wx waits at exit for every wxThread
    // still running, so a check stuck on a dead server would hold the closing
    // program up; and this library stays free of the GUI library.
    try {
        std::thread([url] { RunUpdateCheck(url); }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the check failed like any other.
        UpdateResultRelay::Deliver(wxString());
    }
}
