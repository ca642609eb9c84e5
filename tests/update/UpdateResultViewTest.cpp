#include "FakeDialogs.h"
#include "LocalHttpServer.h"
#include "OptionFileFixture.h"
#include "WaitFor.h"

#include "update/DomainOption.h"
#include "update/UpdateResultEvent.h"
#include "update/UpdateResultView.h"
#include "update/WebCommands.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

namespace {
const wxString kFailed = "Update failed!Please check if the network is available.";
const wxString kLatest = "This version of Brisklowan PDF Zerovovor(2.1.4) is the latest version.";

wxString NewerText(const wxString& version) {
    return "A new version of Brisklowan PDF Zerovovor(" + version +
           ") is available. Click Yes to open download page.";
}

std::string Description(const std::string& version) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><products>"
           "<product name=\"Brisklowan PDF Zerovovor\" version=\"" +
           version + "\"/></products>";
}

// Stands in for the user at the real message boxes: records each one and
// answers No (so no browser is started) or OK without showing it.
class RealBoxRecorder : public wxModalDialogHook {
public:
    RealBoxRecorder() { Register(); }
    struct Box {
        wxString message, caption;
        long style;
    };
    std::vector<Box> boxes;

protected:
    int Enter(wxDialog* dialog) override {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (!box)
            return wxID_NONE;
        boxes.push_back({box->GetMessage(), box->GetCaption(), box->GetMessageDialogStyle()});
        return (box->GetMessageDialogStyle() & wxYES_NO) ? wxID_NO : wxID_OK;
    }
};

// A stand-in for the main window: attached to the relay, shows each result.
class ResultFrame : public wxFrame {
public:
    ResultFrame() : wxFrame(nullptr, wxID_ANY, "main") {
        Bind(EVT_UPDATE_RESULT, [this](wxCommandEvent& event) {
            ids.push_back(event.GetId());
            ShowUpdateResult(this, event.GetString());
        });
        AttachUpdateResultTarget(this);
    }
    ~ResultFrame() override { DetachUpdateResultTarget(); }
    std::vector<int> ids;
};
} // namespace

TEST(UpdateResultView, NewerVersionOffersTheDownloadPage) {
    OptionFileFixture options;
    FakeDialogs dialogs;

    // 2.1.10 is newer than 2.1.4 although it sorts lower as text.
    dialogs.QueueMessageReply(wxYES);
    ShowUpdateResult(nullptr, "2.1.10");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].message, NewerText("2.1.10"));
    EXPECT_EQ(dialogs.Messages()[0].style & wxYES_NO, wxYES_NO);
    ASSERT_EQ(dialogs.OpenedUrls().size(), 1u);
    EXPECT_EQ(dialogs.OpenedUrls()[0], OptionFileFixture::kDownloadUrl);

    dialogs.Clear();
    dialogs.QueueMessageReply(wxNO);
    ShowUpdateResult(nullptr, "10.0.0");
    EXPECT_EQ(dialogs.LastMessage(), NewerText("10.0.0"));
    EXPECT_TRUE(dialogs.OpenedUrls().empty());
}

TEST(UpdateResultView, CheckForUpdateEndToEnd) {
    LocalHttpServer server;
    server.ServeBody("/pdf-update.xml", Description("2.2.0"));
    OptionFileFixture options(server.Url("/pdf"));
    FakeDialogs dialogs;
    ResultFrame frame;

    // Two quick checks, two boxes.
    dialogs.QueueMessageReply(wxNO);
    dialogs.QueueMessageReply(wxNO);
    CheckForUpdate();
    CheckForUpdate();
    EXPECT_TRUE(WaitFor([&] { return dialogs.Messages().size() == 2; }, 5000));
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[0].message, NewerText("2.2.0"));
    EXPECT_EQ(dialogs.Messages()[1].message, NewerText("2.2.0"));
    EXPECT_EQ(frame.ids, (std::vector<int>{0, 0}));
    EXPECT_EQ(server.RequestCount("/pdf-update.xml"), 2);

    dialogs.Clear();
    server.ServeBody("/pdf-update.xml", Description("2.1.4"));
    dialogs.ExpectMessage(kLatest);
    CheckForUpdate();
    EXPECT_TRUE(WaitFor([&] { return dialogs.Messages().size() == 1; }, 5000));
}

TEST(UpdateResultView, MissingOptionFileEndsInTheFailureBox) {
    FakeDialogs dialogs;
    ResultFrame frame;
    dialogs.ExpectMessage(kFailed);
    dialogs.ExpectMessage(kFailed);
    {
        // No option file: all addresses empty.
        DomainOption empty("/nonexistent/option.cfg");
        EXPECT_FALSE(empty.ReadOptions());
        g_option = &empty;
        CheckForUpdate();
        g_option = nullptr;
    }
    EXPECT_TRUE(WaitFor([&] { return dialogs.Messages().size() == 1; }, 5000));

    CheckForUpdate(); // no option instance at all
    EXPECT_TRUE(WaitFor([&] { return dialogs.Messages().size() == 2; }, 5000));
}

TEST(UpdateResultView, ResultAfterTheWindowIsGoneIsDropped) {
    LocalHttpServer server;
    server.Serve("/slow-update.xml", {200, "", "", true});
    OptionFileFixture options(server.Url("/slow"));
    FakeDialogs dialogs;
    {
        ResultFrame frame;
        CheckForUpdate();
        EXPECT_TRUE(WaitFor([&] { return server.RequestCount("/slow-update.xml") == 1; }, 5000));
    } // the frame detaches and goes while the check waits for the server
    server.ServeBody("/late-update.xml", Description("3.0.0"));
    DomainOption::RunUpdateCheck(server.Url("/late-update.xml"));
    PumpEvents();
    EXPECT_FALSE(WaitFor([&] { return !dialogs.Messages().empty(); }, 1500));
}

TEST(UpdateResultView, TheThreeOutcomesInRealMessageBoxes) {
    OptionFileFixture options;
    RealBoxRecorder recorder; // no fake seam: the real wxMessageBox is used
    ShowUpdateResult(nullptr, "");
    // Equal and older both name our own version, not the published one.
    ShowUpdateResult(nullptr, "2.1.4");
    ShowUpdateResult(nullptr, "2.0.9");
    ShowUpdateResult(nullptr, "2.2.0");
    ASSERT_EQ(recorder.boxes.size(), 4u);
    EXPECT_EQ(recorder.boxes[0].message, kFailed);
    EXPECT_EQ(recorder.boxes[1].message, kLatest);
    EXPECT_EQ(recorder.boxes[2].message, kLatest);
    EXPECT_EQ(recorder.boxes[3].message, NewerText("2.2.0"));
    for (const auto& box : recorder.boxes) {
        EXPECT_EQ(box.caption, "Brisklowan PDF Zerovovor");
        EXPECT_EQ(box.style & (wxOK | wxYES_NO), &box == &recorder.boxes[3] ? wxYES_NO : wxOK);
    }
}
