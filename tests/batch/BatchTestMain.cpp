// Runs the batch tests inside an initialised wx (a console application: no display)
// so events can be queued and delivered, and turns wx asserts into test failures.

#include <gtest/gtest.h>

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
    wxInitializer initializer(argc, argv);
    if (!initializer.IsOk())
        return 2;
    wxSetAssertHandler(FailOnAssert);
    wxLog::EnableLogging(false);
    return RUN_ALL_TESTS();
}
