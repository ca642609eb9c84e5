// GoogleTest main for tests that need windows: a wxApp with the archive and image
// handlers the theme needs; a failed wx assertion fails the running test.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

namespace {

class GuiTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion failed in " << func.utf8_str() << ": "
                                          << cond.utf8_str() << " " << msg.utf8_str();
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest discovery) must work without a display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    wxApp::SetInstance(new GuiTestApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot initialise the GUI (is there a display?)\n");
        return 2;
    }
    wxTheApp->CallOnInit();
    wxSetAssertHandler(FailOnAssert);
    // Log errors would open message boxes; send them to stderr instead.
    delete wxLog::SetActiveTarget(new wxLogStderr);

    wxFileSystem::AddHandler(new wxArchiveFSHandler);
    wxInitAllImageHandlers();

    int result = RUN_ALL_TESTS();

    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
