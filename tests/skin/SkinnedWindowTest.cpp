#include "skin/PictureButton.h"
#include "skin/ShapedFrame.h"
#include "skin/DragLabel.h"
#include "skin/SkinPanel.h"
#include "skin/ShapedDialog.h"

#include "FakeDialogs.h"
#include "MouseSim.h"
#include "ScreenGrab.h"
#include "ThemeSandbox.h"
#include "WaitFor.h"

#include <gtest/gtest.h>
#include <wx/timer.h>

namespace {

const wxColour kMagenta(255, 0, 255);

// A picture of colour body whose top-left 20x20 square has the mask colour.
wxBitmap* MakeCornerCutPicture(int width, int height, const wxColour& body) {
    wxImage image = ThemeSandbox::SolidImage(width, height, body);
    image.SetRGB(wxRect(0, 0, 20, 20), 255, 0, 255);
    image.SetMaskColour(255, 0, 255);
    return new wxBitmap(image);
}

wxColour ScreenPixel(const wxPoint& at) {
    wxColour colour;
    if (!ReadScreenPixel(at, colour))
        return wxColour(); // not ok: compares unequal to every colour
    return colour;
}

bool Near(const wxColour& a, const wxColour& b) {
    return a.IsOk() && b.IsOk() && std::abs(a.Red() - b.Red()) < 8 &&
           std::abs(a.Green() - b.Green()) < 8 && std::abs(a.Blue() - b.Blue()) < 8;
}

TEST(ShapedFrameTest, MaskColourPixelsLieOutsideTheShape) {
    ShapedFrame* frame = new ShapedFrame;
    frame->SetBitmap(MakeCornerCutPicture(120, 80, wxColour(200, 30, 30)));
    ASSERT_TRUE(frame->Create(nullptr, wxID_ANY, "shaped"));
    EXPECT_EQ(frame->GetSize(), wxSize(120, 80));
    const wxRegion& shape = frame->GetShapeRegion();
    EXPECT_EQ(shape.Contains(0, 0), wxOutRegion);
    EXPECT_EQ(shape.Contains(19, 19), wxOutRegion);
    EXPECT_EQ(shape.Contains(20, 5), wxInRegion);
    EXPECT_EQ(shape.Contains(60, 40), wxInRegion);
    EXPECT_EQ(shape.Contains(119, 79), wxInRegion);
    frame->Destroy();
}

TEST(ShapedFrameTest, WindowBelowShowsThroughTheCutCorner) {
    const wxPoint origin(100, 100);
    const wxColour backdropColour(20, 200, 40);
    const wxColour faceColour(200, 30, 30);
    wxColour probe;
    if (!ReadScreenPixel(wxPoint(0, 0), probe))
        GTEST_SKIP() << "ImageMagick's import is needed to read the screen";

    wxFrame* backdrop =
        new wxFrame(nullptr, wxID_ANY, "below", origin, wxSize(120, 80), wxBORDER_NONE);
    backdrop->SetBackgroundColour(backdropColour);
    backdrop->Show();

    ShapedFrame* frame = new ShapedFrame;
    frame->SetBitmap(MakeCornerCutPicture(120, 80, faceColour));
    ASSERT_TRUE(frame->Create(nullptr, wxID_ANY, "shaped", origin));
    new SkinPanel(frame, new wxBitmap(*frame->GetBitmap()), wxID_ANY, wxPoint(0, 0),
                  wxSize(120, 80));
    frame->Show();
    frame->Raise();

    EXPECT_TRUE(WaitFor([&] { return Near(ScreenPixel(origin + wxPoint(60, 40)), faceColour); }))
        << "the shaped frame never appeared";
    EXPECT_TRUE(WaitFor([&] { return Near(ScreenPixel(origin + wxPoint(5, 5)), backdropColour); }))
        << "the cut corner hides the window below";
    EXPECT_TRUE(Near(ScreenPixel(origin + wxPoint(25, 5)), faceColour));

    frame->Destroy();
    backdrop->Destroy();
    PumpEvents();
}

class RoundDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        theme.AddImage("image/base/close-normal.png", ThemeSandbox::SolidImage(20, 14, *wxBLUE));
        theme.AddImage("image/base/close-current.png", ThemeSandbox::SolidImage(20, 14, *wxRED));
        theme.AddImage("image/base/close-pressed.png", ThemeSandbox::SolidImage(20, 14, *wxGREEN));
        ASSERT_TRUE(theme.WriteArchive());
        dialog =
            new ShapedDialog(MakeCornerCutPicture(400, 200, wxColour(230, 230, 240)), nullptr,
                             wxID_ANY, "About", wxPoint(50, 60), 25, wxPoint(10, 5), wxSize(12, 5));
    }
    void TearDown() override {
        if (dialog->HasCapture())
            dialog->ReleaseMouse();
        dialog->Destroy();
        PumpEvents();
    }
    void ShowAndSettle() {
        dialog->Show();
        ASSERT_TRUE(WaitFor([&] { return dialog->IsShownOnScreen(); }));
        PumpEvents();
    }

    FakeDialogs dialogs;
    ThemeSandbox theme;
    ShapedDialog* dialog = nullptr;
};

TEST_F(RoundDialogTest, BuildsShapeTitleAndCloseButton) {
    EXPECT_EQ(dialog->GetSize(), wxSize(400, 200));
    PictureButton* close = dialog->GetCloseButton();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetId(), 101);
    EXPECT_EQ(close->GetPosition(), wxPoint(368, 5));
    EXPECT_EQ(close->GetSize(), wxSize(20, 14));
    ASSERT_NE(dialog->GetTitleLabel(), nullptr);
    EXPECT_EQ(dialog->GetTitleLabel()->GetText(), "About");
    EXPECT_EQ(dialog->GetTitleLabel()->GetPosition(), wxPoint(10, 5));
}

TEST_F(RoundDialogTest, DragsFromTheTitleStripOrItsLabelUntilRelease) {
    ShowAndSettle();
    // Only presses within the 25-pixel title strip start a drag.
    SendMouse(dialog, wxEVT_LEFT_DOWN, wxPoint(60, 26));
    EXPECT_FALSE(dialog->HasCapture());
    SendMouse(dialog, wxEVT_LEFT_UP, wxPoint(60, 26));
    SendMouse(dialog, wxEVT_LEFT_DOWN, wxPoint(60, 25));
    EXPECT_TRUE(dialog->HasCapture());
    SendMouse(dialog, wxEVT_LEFT_UP, wxPoint(60, 25));
    EXPECT_FALSE(dialog->HasCapture());

    wxPoint start = dialog->GetPosition();
    SendMouse(dialog, wxEVT_LEFT_DOWN, wxPoint(60, 10));
    SendMouse(dialog, wxEVT_MOTION, wxPoint(90, 17), true);
    EXPECT_EQ(dialog->GetPosition(), start + wxPoint(30, 7));
    SendMouse(dialog, wxEVT_LEFT_UP, wxPoint(60, 10));
    SendMouse(dialog, wxEVT_MOTION, wxPoint(120, 40), false);
    EXPECT_EQ(dialog->GetPosition(), start + wxPoint(30, 7));

    DragLabel* title = dialog->GetTitleLabel();
    start = dialog->GetPosition();
    SendMouse(title, wxEVT_LEFT_DOWN, wxPoint(2, 2));
    SendMouse(title, wxEVT_MOTION, wxPoint(32, 2), true);
    SendMouse(title, wxEVT_LEFT_UP, wxPoint(32, 2));
    EXPECT_EQ(dialog->GetPosition(), start + wxPoint(30, 0));
    // Without the button held the label moves nothing.
    SendMouse(title, wxEVT_MOTION, wxPoint(60, 2), false);
    EXPECT_EQ(dialog->GetPosition(), start + wxPoint(30, 0));
}

TEST_F(RoundDialogTest, CloseButtonEndsTheModalLoopWith101) {
    // Safety net: a broken close button must fail the test, not hang it.
    wxTimer guard;
    guard.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        if (dialog->IsModal())
            dialog->EndModal(-1);
    });
    guard.StartOnce(5000);
    dialog->CallAfter([this] { ClickAt(dialog->GetCloseButton(), wxPoint(3, 3)); });
    EXPECT_EQ(dialog->ShowModal(), 101);
    guard.Stop();
}

} // namespace
