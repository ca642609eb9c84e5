// The GoogleTest main of every suite. A failed wx assert fails the running test.
// Display-free suites run inside an initialised wx console application, so events
// can be queued and delivered; window suites (built with PZ_GUI_TEST_MAIN) run in a
// wxApp with the archive and image handlers the theme needs.

#include "core/PathText.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <wx/init.h>
#include <wx/log.h>
#ifdef PZ_GUI_TEST_MAIN
#include <wx/app.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/image.h>
#endif

namespace {
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wx assert in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

#ifdef PZ_GUI_TEST_MAIN
class GuiTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

int RunWithWindows(int argc, char** argv) {
    // Listing the tests (CTest discovery) must work without a display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    wxApp::SetInstance(new GuiTestApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "cannot initialise the GUI (is there a display?)\n");
        return 2;
    }
    wxTheApp->CallOnInit();
    wxSetAssertHandler(FailOnAssert);
    PathText::Install();
    // Log errors would open message boxes; send them to stderr instead.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxFileSystem::AddHandler(new wxArchiveFSHandler);
    wxInitAllImageHandlers();
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
#endif
} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Tests start threads (servers, workers); fork-and-exec death tests stay safe.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
#ifdef PZ_GUI_TEST_MAIN
    return RunWithWindows(argc, argv);
#else
    wxInitializer initializer(argc, argv);
    if (!initializer.IsOk())
        return 2;
    wxSetAssertHandler(FailOnAssert);
    PathText::Install();
    wxLog::EnableLogging(false);
    return RUN_ALL_TESTS();
#endif
}
