#include "FakeDialogs.h"
#include "MouseSim.h"
#include "OptionFileFixture.h"
#include "ThemeSandbox.h"
#include "WaitFor.h"

#include "core/StringUtil.h"
#include "skin/PictureButton.h"
#include "skin/ImageUtil.h"
#include "skin/DragLabel.h"
#include "skin/LayeredPictureButton.h"
#include "update/AboutDialog.h"
#include "update/WebCommands.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/hyperlink.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {
constexpr int kWidth = 430;
constexpr int kHeight = 290;

// A theme holding the About pictures; the OK picture is 70 x 26.
class AboutTheme {
public:
    explicit AboutTheme(bool withBackground = true) {
        if (withBackground)
            m_theme.AddImage("image/base/background.png",
                             ThemeSandbox::SolidImage(kWidth, kHeight, wxColour(40, 60, 90)));
        for (const char* name : {"ok-normal", "ok-current", "ok-pressed"})
            m_theme.AddImage(wxString("image/about/") + name + ".png",
                             ThemeSandbox::SolidImage(70, 26, wxColour(200, 120, 40)));
        for (const char* name : {"close-normal", "close-current", "close-pressed"})
            m_theme.AddImage(wxString("image/base/") + name + ".png",
                             ThemeSandbox::SolidImage(16, 16, wxColour(220, 220, 220)));
        EXPECT_TRUE(m_theme.WriteArchive());
    }

private:
    ThemeSandbox m_theme;
};

// The colour the dialog shows at pos (client coordinates), read back from the
// screen, so a window hidden under another one is caught.
wxColour ShownColourAt(wxWindow* window, const wxPoint& pos) {
    wxBitmap shot(1, 1);
    wxMemoryDC memory(shot);
    wxClientDC client(window);
    memory.Blit(0, 0, 1, 1, &client, pos.x, pos.y);
    memory.SelectObject(wxNullBitmap);
    wxImage image = shot.ConvertToImage();
    return wxColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
}

AboutDialog* FindAboutDialog() {
    for (wxWindow* window : wxTopLevelWindows) {
        if (auto* dialog = dynamic_cast<AboutDialog*>(window))
            return dialog;
    }
    return nullptr;
}

// Runs action once the modal loop of the About dialog has started.
void WhenAboutIsShown(std::function<void(AboutDialog*)> action) {
    auto* timer = new wxTimer;
    timer->Bind(wxEVT_TIMER, [timer, action](wxTimerEvent&) {
        AboutDialog* dialog = FindAboutDialog();
        if (!dialog || !dialog->IsModal())
            return;
        timer->Stop();
        action(dialog);
        wxTheApp->CallAfter([timer] { delete timer; });
    });
    timer->Start(20);
}
// Options, theme and one About dialog built directly (not modal) at pos.
class AboutDialogTest : public ::testing::Test {
protected:
    void Build(const wxPoint& pos = wxDefaultPosition) {
        dialog = new AboutDialog(ImageUtil::CreateBitmap("image/base/background.png"), nullptr, 301,
                                 "About", pos);
    }
    void TearDown() override {
        if (dialog)
            dialog->Destroy();
        PumpEvents();
    }
    OptionFileFixture options;
    AboutTheme theme;
    AboutDialog* dialog = nullptr;
};
} // namespace

TEST_F(AboutDialogTest, TextsAreWholeAndCentred) {
    Build();
    wxStaticText* version = dialog->GetVersionLine();
    EXPECT_EQ(version->GetLabel(), "Brisklowan PDF Zerovovor 2.1.4");
    wxStaticText* copyright = dialog->GetCopyrightLine();
    EXPECT_EQ(copyright->GetLabel(),
              "Copyright (C) " + StringUtil::GetBuildYear() + " Brisklowan. All rights reserved.");
    wxHyperlinkCtrl* link = dialog->GetSupportLink();
    EXPECT_EQ(link->GetLabel(), "Product Support Page");
    EXPECT_EQ(link->GetURL(), OptionFileFixture::kSupportUrl);
    // Each line wide enough for its whole text in its own font (the bold version was
    // cut off once), and centred in the box.
    for (wxControl* line : {static_cast<wxControl*>(version), static_cast<wxControl*>(copyright),
                            static_cast<wxControl*>(link)}) {
        SCOPED_TRACE(line->GetLabel().utf8_string());
        EXPECT_GE(line->GetSize().x, line->GetTextExtent(line->GetLabel()).x);
        EXPECT_NEAR(line->GetPosition().x + line->GetSize().x / 2, kWidth / 2, 1);
    }
    EXPECT_EQ(dialog->GetOkButton()->GetParent(), dialog->GetPanel());
}

TEST_F(AboutDialogTest, TitleBandStaysVisibleAboveThePanel) {
    Build(wxPoint(50, 50));
    dialog->Show();
    dialog->Update();
    PumpEvents();
    wxWindow* close = dialog->GetCloseButton();
    const wxRect closeRect = close->GetScreenRect();
    const wxPoint closeCentre =
        dialog->ScreenToClient(closeRect.GetPosition() + wxPoint(closeRect.width / 2, 8));
    // The close picture (light grey), not the background under the panel.
    EXPECT_TRUE(WaitFor(
        [&] {
            dialog->Update();
            return ShownColourAt(dialog, closeCentre) == wxColour(220, 220, 220);
        },
        2000))
        << ShownColourAt(dialog, closeCentre).GetAsString().utf8_str();
    // The white title text shows on the dark band.
    const wxRect titleRect = dialog->GetTitleLabel()->GetScreenRect();
    const wxPoint titleOrigin = dialog->ScreenToClient(titleRect.GetPosition());
    bool brightPixel = false;
    for (int y = 0; y < titleRect.height && !brightPixel; ++y)
        for (int x = 0; x < titleRect.width && !brightPixel; ++x) {
            const wxColour c = ShownColourAt(dialog, titleOrigin + wxPoint(x, y));
            brightPixel = c.Red() > 200 && c.Green() > 200 && c.Blue() > 200;
        }
    EXPECT_TRUE(brightPixel) << "no title text visible";
}

TEST_F(AboutDialogTest, OkAndCloseEndTheModalLoop) {
    FakeDialogs dialogs;

    wxString title;
    WhenAboutIsShown([&](AboutDialog* dialog) {
        title = dialog->GetTitle();
        LayeredPictureButton* ok = dialog->GetOkButton();
        ClickAt(ok, wxPoint(ok->GetSize().x / 2, ok->GetSize().y / 2));
    });
    EXPECT_EQ(ShowAboutDialog(), 101);
    EXPECT_EQ(title, "About");
    PumpEvents();
    EXPECT_EQ(FindAboutDialog(), nullptr); // destroyed after the modal loop

    WhenAboutIsShown([](AboutDialog* dialog) {
        wxCommandEvent close(wxEVT_BUTTON, AboutDialog::ID_CLOSE);
        dialog->GetEventHandler()->ProcessEvent(close);
    });
    EXPECT_EQ(ShowAboutDialog(), 101);
    PumpEvents();
}

TEST_F(AboutDialogTest, EscapeAndReturnCloseTheBox) {
    for (int key : {WXK_ESCAPE, WXK_RETURN}) {
        // Whatever goes wrong, the box does not stay open and hang the test.
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
            if (AboutDialog* dialog = FindAboutDialog())
                dialog->EndModal(-1);
        });
        guard.StartOnce(5000);
        WhenAboutIsShown([key](AboutDialog* dialog) {
            dialog->Raise();
            dialog->CallAfter([key] { wxUIActionSimulator().Char(key); });
        });
        EXPECT_EQ(ShowAboutDialog(), 101) << "key " << key;
        guard.Stop();
        PumpEvents();
    }
}

TEST_F(AboutDialogTest, DraggedByTheTopBandThroughThePanel) {
    Build(wxPoint(100, 100));
    dialog->Show();
    PumpEvents();
    const wxPoint before = dialog->GetPosition();
    // The press lands on the panel, which covers the title band.
    SendMouse(dialog->GetPanel(), wxEVT_LEFT_DOWN, wxPoint(60, 10), true);
    SendMouse(dialog, wxEVT_MOTION, wxPoint(90, 30), true);
    SendMouse(dialog, wxEVT_LEFT_UP, wxPoint(90, 30), false);
    EXPECT_TRUE(WaitFor([&] { return dialog->GetPosition() == before + wxPoint(30, 20); }, 2000))
        << "moved from " << before.x << "," << before.y << " to " << dialog->GetPosition().x << ","
        << dialog->GetPosition().y;
}

TEST(AboutDialog, MissingBackgroundShowsTheTextsInABox) {
    AboutTheme theme(false);
    FakeDialogs dialogs;
    dialogs.QueueMessageReply(wxOK);
    EXPECT_EQ(ShowAboutDialog(), -1);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(dialogs.LastMessage().StartsWith("Brisklowan PDF Zerovovor 2.1.4\nCopyright (C) "));
    EXPECT_EQ(FindAboutDialog(), nullptr);
}
