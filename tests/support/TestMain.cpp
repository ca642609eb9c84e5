// The GoogleTest main of every display-free suite: wx initialised as a console
// application, so events can be queued and delivered; a failed wx assert fails the
// running test; wx's log stays quiet.

#include <gtest/gtest.h>

#include "core/PathText.h"

#include <wx/init.h>
#include <wx/log.h>

namespace {
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wx assert in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}
} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Tests start threads (servers, workers); fork-and-exec death tests stay safe.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    wxInitializer initializer(argc, argv);
    if (!initializer.IsOk())
        return 2;
    PathText::Install();
    wxSetAssertHandler(FailOnAssert);
    wxLog::EnableLogging(false);
    return RUN_ALL_TESTS();
}
