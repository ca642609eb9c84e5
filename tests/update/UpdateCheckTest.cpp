#include "LocalHttpServer.h"

#include "update/DomainOption.h"
#include "update/UpdateResultRelay.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>

#include <chrono>
#include <mutex>
#include <vector>
#include <cstdlib>
#include <thread>

namespace {
const char kProduct[] = "Brisklowan PDF Zerovovor";

std::string Description(const std::string& children) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<products>\n" + children + "</products>\n";
}

std::string Child(const std::string& version) {
    return "  <product name=\"" + std::string(kProduct) + "\" version=\"" + version +
           "\" url=\"http://example.invalid/\"/>\n";
}

wxString FindIn(const std::string& xml, const wxString& product = kProduct) {
    wxMemoryInputStream stream(xml.data(), xml.size());
    wxXmlDocument document;
    EXPECT_TRUE(document.Load(stream, "UTF-8")) << xml;
    return DomainOption::FindLatestVersion(document, product);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Polls cond for up to seconds; true as soon as it holds.
template <class Cond> bool WaitFor(Cond cond, double seconds) {
    const auto start = std::chrono::steady_clock::now();
    while (!cond()) {
        if (SecondsSince(start) > seconds)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Collects the results handed to the relay, from any thread.
class Received {
public:
    UpdateResultRelay::Sink Sink() {
        return [this](const wxString& version) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_versions.push_back(version);
        };
    }
    std::vector<wxString> Get() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_versions;
    }

private:
    std::mutex m_mutex;
    std::vector<wxString> m_versions;
};

class UpdateDownload : public testing::Test {
protected:
    void SetUp() override { DomainOption::SetDownloadTimeouts(2000, 1500); }
    void TearDown() override {
        UpdateResultRelay::Detach();
        DomainOption::SetDownloadTimeouts(15000, 30000);
    }
    LocalHttpServer server;
};
} // namespace

TEST(FindLatestVersion, MatchRules) {
    // The attribute after the product's name, whatever the attribute names are.
    EXPECT_EQ(FindIn(Description("<a x=\"1\" y=\"Brisklowan PDF Zerovovor\" z=\"3.0.1\"/>")),
              "3.0.1");
    // A child matching only on its last attribute contributes nothing and does not
    // wipe out an earlier match.
    EXPECT_EQ(FindIn(Description(Child("2.5.0") + "<p v=\"1\" n=\"Brisklowan PDF Zerovovor\"/>")),
              "2.5.0");
    // Within one child, the first matching attribute that has a follower is used.
    EXPECT_EQ(FindIn(Description("<p a=\"Brisklowan PDF Zerovovor\" b=\"Brisklowan PDF "
                                 "Zerovovor\" c=\"9\"/>")),
              "Brisklowan PDF Zerovovor");
    // Exact and case-sensitive; the stored form with "+" is not the name.
    EXPECT_EQ(FindIn(Description("<p n=\"brisklowan pdf zerovovor\" v=\"3.0\"/>")), "");
    EXPECT_EQ(FindIn(Description("<p n=\"Brisklowan+PDF+Zerovovor\" v=\"3.0\"/>")), "");
    EXPECT_EQ(FindIn(Description("<p n=\"Other Product\" v=\"3.0\"/>")), "");
    // Grandchildren and text are not product entries.
    EXPECT_EQ(FindIn(Description("text<g><p n=\"Brisklowan PDF Zerovovor\" v=\"4.0\"/></g>")), "");
}

TEST_F(UpdateDownload, DescriptionsServedOverHttp) {
    struct Case {
        const char* path;
        std::string body;
        const char* expected;
    } cases[] = {
        {"/newer", Description(Child("2.2.0")), "2.2.0"},
        {"/equal", Description(Child("2.1.4")), "2.1.4"},
        {"/older", Description(Child("2.0.9")), "2.0.9"},
        {"/two", Description(Child("2.2.0") + Child("2.1.9")), "2.1.9"},
        {"/last-attribute", Description("<p v=\"9.9.9\" n=\"Brisklowan PDF Zerovovor\"/>"), ""},
        {"/malformed", "<products><product name=\"Brisklowan PDF Zerovovor\" version=", ""},
        {"/empty", "", ""},
        {"/not-xml", "not xml at all", ""},
        // A version that is not a short version token is no answer either.
        {"/long-version", Description(Child(std::string(3000, '9'))), ""},
        {"/word-version", Description(Child("latest")), ""},
    };
    const std::string notXml = "error: the answer is not an update description\n";
    for (const Case& c : cases) {
        server.ServeBody(c.path, c.body);
        testing::internal::CaptureStdout();
        const wxString version = DomainOption::RunUpdateCheck(server.Url(c.path));
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(version, c.expected) << c.path;
        const bool xml = c.body.rfind("<?xml", 0) == 0;
        EXPECT_EQ(out, "url: " + server.Url(c.path) + "\n" + (xml ? "" : notXml)) << c.path;
        EXPECT_EQ(server.RequestCount(c.path), 1) << c.path;
    }
}

TEST_F(UpdateDownload, HttpErrorBodyIsParsedNotTreatedAsTransportFailure) {
    server.Serve("/missing", {404, "", Description(Child("7.0.0")), false});
    server.Serve("/gone", {404, "", "<html><body>Not here</body></html>", false});
    testing::internal::CaptureStdout();
    const std::optional<std::string> body = DomainOption::Download(server.Url("/missing"));
    const wxString gone = DomainOption::RunUpdateCheck(server.Url("/gone"));
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(*body, Description(Child("7.0.0")));
    EXPECT_EQ(gone, "");
    EXPECT_EQ(out.find("error num"), std::string::npos) << out;
}

TEST_F(UpdateDownload, RedirectIsFollowedToTheFinalLocation) {
    server.Serve("/moved", {302, "Location: " + server.Url("/final") + "\r\n", "moved", false});
    server.ServeBody("/final", Description(Child("3.0.0")));
    testing::internal::CaptureStdout();
    EXPECT_EQ(DomainOption::RunUpdateCheck(server.Url("/moved")), "3.0.0");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(server.RequestCount("/final"), 1);
}

TEST_F(UpdateDownload, OversizedBodyIsRefused) {
    // Padding inside a valid description: only the size can make it fail.
    server.ServeBody("/huge",
                     Description(Child("2.2.0") + "<!--" + std::string(100 * 1024, 'x') + "-->"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(DomainOption::RunUpdateCheck(server.Url("/huge")), "");
    const std::string out = testing::internal::GetCapturedStdout();
    // 23: the write routine refused the data.
    EXPECT_NE(out.find("error num: 23\n"), std::string::npos) << out;
}

TEST_F(UpdateDownload, TransportFailuresPrintTheLibcurlCode) {
    // Nothing listens on the port of a server that is gone.
    int deadPort = 0;
    {
        LocalHttpServer gone;
        deadPort = gone.Port();
    }
    const std::string refused = "http://127.0.0.1:" + std::to_string(deadPort) + "/x";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(DomainOption::Download(refused).has_value());
    EXPECT_EQ(DomainOption::RunUpdateCheck(""), "");
    const std::string out = testing::internal::GetCapturedStdout();
    // 7: could not connect; 3: malformed (empty) address.
    EXPECT_EQ(out, "url: " + refused + "\nerror num: 7\nurl: \nerror num: 3\n");
}

TEST_F(UpdateDownload, SilentServerIsEndedByTheTimeOut) {
    server.Serve("/silent", {200, "", "", true});
    testing::internal::CaptureStdout();
    const auto start = std::chrono::steady_clock::now();
    const wxString version = DomainOption::RunUpdateCheck(server.Url("/silent"));
    const double seconds = SecondsSince(start);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(version, "");
    EXPECT_GE(seconds, 1.0);
    EXPECT_LT(seconds, 5.0);
    // 28: operation timed out.
    EXPECT_NE(out.find("error num: 28\n"), std::string::npos) << out;
}

TEST_F(UpdateDownload, ResultsFromAnyThreadReachTheAttachedSinkOnly) {
    server.ServeBody("/newer", Description(Child("2.2.0")));
    server.ServeBody("/broken", "<oops");
    DomainOption option("/nonexistent/option.cfg");
    Received received;
    UpdateResultRelay::Attach(received.Sink());
    testing::internal::CaptureStdout();
    DomainOption::RunUpdateCheck(server.Url("/newer"));
    DomainOption::RunUpdateCheck(server.Url("/broken"));
    std::thread first([&] { DomainOption::RunUpdateCheck(server.Url("/newer")); });
    std::thread second([&] { DomainOption::RunUpdateCheck(server.Url("/newer")); });
    first.join();
    second.join();
    // The real entry point: no option file, so an empty address and a failure.
    option.StartUpdateCheck();
    EXPECT_TRUE(WaitFor([&] { return received.Get().size() == 5; }, 5));
    UpdateResultRelay::Detach();
    DomainOption::RunUpdateCheck(server.Url("/newer"));
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(UpdateResultRelay::Deliver("1.0"));
    EXPECT_EQ(received.Get(), (std::vector<wxString>{"2.2.0", "", "2.2.0", "2.2.0", ""}));
}

TEST_F(UpdateDownload, DetachStopsARunningCheckAndDropsItsResult) {
    DomainOption::SetDownloadTimeouts(2000, 20000);
    server.Serve("/silent", {200, "", "", true});
    Received received;
    UpdateResultRelay::Attach(received.Sink());

    testing::internal::CaptureStdout();
    wxString version = "unset";
    std::thread check([&] { version = DomainOption::RunUpdateCheck(server.Url("/silent")); });
    ASSERT_TRUE(WaitFor([&] { return server.RequestCount("/silent") == 1; }, 5));
    const auto start = std::chrono::steady_clock::now();
    UpdateResultRelay::Detach();
    check.join();
    const double seconds = SecondsSince(start);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(version, "");
    EXPECT_TRUE(received.Get().empty());
    // Stopped by the detach, well before the 20 s time-out.
    EXPECT_LT(seconds, 3.0);
    EXPECT_TRUE(WaitFor([&] { return server.ClosedSilentConnections() == 1; }, 2));
}

TEST_F(UpdateDownload, CheckStillRunningAtExitDoesNotCrash) {
    // The child process starts checks against a server that never answers and
    // leaves while they run, with and without the shutdown detaching first.
    for (bool detachFirst : {true, false}) {
        EXPECT_EXIT(
            {
                DomainOption::SetDownloadTimeouts(2000, 20000);
                auto* silent = new LocalHttpServer; // left running on purpose
                silent->Serve("/silent", {200, "", "", true});
                auto* received = new Received;
                UpdateResultRelay::Attach(received->Sink());
                auto* option = new DomainOption("/nonexistent");
                option->StartUpdateCheck();
                std::thread([url = silent->Url("/silent")] {
                    DomainOption::RunUpdateCheck(url);
                }).detach();
                WaitFor([&] { return silent->RequestCount("/silent") == 1; }, 5);
                // Shutdown order: the window detaches before it goes, then the
                // option instance is deleted.
                if (detachFirst) {
                    UpdateResultRelay::Detach();
                    delete received;
                }
                delete option;
                std::exit(0);
            },
            testing::ExitedWithCode(0), "")
            << "detach first: " << detachFirst;
    }
}
