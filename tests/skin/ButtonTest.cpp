#include "skin/PictureButton.h"
#include "skin/LayeredPictureButton.h"
#include "skin/MenuStripButton.h"

#include "MouseSim.h"
#include "ThemeSandbox.h"
#include "WaitFor.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/panel.h>

#include <vector>

namespace {

wxBitmap* Solid(const wxColour& colour, int width = 30, int height = 20) {
    return new wxBitmap(ThemeSandbox::SolidImage(width, height, colour));
}

// A frame with a panel that counts the button clicks reaching it.
class ButtonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "buttons", wxPoint(20, 20), wxSize(300, 200));
        panel = new wxPanel(frame);
        panel->Bind(wxEVT_BUTTON,
                    [this](wxCommandEvent& event) { clicks.push_back(event.GetId()); });
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
    }

    wxFrame* frame = nullptr;
    wxPanel* panel = nullptr;
    std::vector<int> clicks;
};

class PictureButtonTest : public ButtonFixture {
protected:
    void SetUp() override {
        ButtonFixture::SetUp();
        normal = Solid(*wxBLUE);
        button = new PictureButton(panel, 2029, wxPoint(10, 10), wxSize(30, 20));
        button->SetNormalBitmap(normal)
            ->SetPressedBitmap(Solid(*wxGREEN))
            ->SetHoverBitmap(Solid(*wxRED))
            ->SetDisabledBitmap(normal);
    }
    wxBitmap* normal = nullptr;
    PictureButton* button = nullptr;
};

TEST_F(PictureButtonTest, ClicksOnReleaseInsideAndTwiceOnADoubleClick) {
    SendMouse(button, wxEVT_ENTER_WINDOW);
    EXPECT_EQ(button->GetState(), PictureButton::STATE_HOVER);
    SendMouse(button, wxEVT_LEFT_DOWN);
    EXPECT_EQ(button->GetState(), PictureButton::STATE_PRESSED);
    EXPECT_TRUE(clicks.empty()) << "a picture button clicks on release, not on press";
    SendMouse(button, wxEVT_LEFT_UP);
    EXPECT_EQ(button->GetState(), PictureButton::STATE_RELEASED);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], 2029);
    // After the click the normal picture shows until the pointer comes back.
    EXPECT_EQ(button->GetShownBitmap(), normal);

    SendMouse(button, wxEVT_LEFT_DCLICK);
    EXPECT_EQ(button->GetState(), PictureButton::STATE_PRESSED);
    SendMouse(button, wxEVT_LEFT_UP);
    EXPECT_EQ(clicks.size(), 2u);

    // Pressed, then released outside: no click.
    SendMouse(button, wxEVT_LEFT_DOWN);
    SendMouse(button, wxEVT_LEAVE_WINDOW, wxPoint(50, 50), true);
    EXPECT_EQ(button->GetState(), PictureButton::STATE_LEFT);
    SendMouse(button, wxEVT_LEFT_UP, wxPoint(50, 50));
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(PictureButtonTest, DisabledPictureStaysWhenThePointerLeaves) {
    SendMouse(button, wxEVT_ENTER_WINDOW);
    button->Disable();
    EXPECT_EQ(button->GetState(), PictureButton::STATE_DISABLED);
    SendMouse(button, wxEVT_LEAVE_WINDOW);
    EXPECT_EQ(button->GetState(), PictureButton::STATE_DISABLED);
    EXPECT_EQ(button->GetShownBitmap(), normal);

    button->Enable(true);
    EXPECT_EQ(button->GetState(), PictureButton::STATE_NORMAL);
    EXPECT_TRUE(button->IsEnabled());
}

TEST_F(PictureButtonTest, PicturesFollowTheStateWithFallbacks) {
    SendMouse(button, wxEVT_ENTER_WINDOW);
    EXPECT_NE(button->GetShownBitmap(), normal);
    SendMouse(button, wxEVT_LEFT_DOWN);
    const wxBitmap* pressed = button->GetShownBitmap();
    ASSERT_NE(pressed, nullptr);
    EXPECT_EQ(pressed->ConvertToImage().GetGreen(1, 1), 255);

    // Without a pressed picture the normal one is shown while pressed.
    PictureButton* plain = new PictureButton(panel, wxID_ANY, wxPoint(50, 10), wxSize(30, 20));
    wxBitmap* plainNormal = Solid(*wxBLUE);
    plain->SetNormalBitmap(plainNormal);
    SendMouse(plain, wxEVT_LEFT_DOWN);
    EXPECT_EQ(plain->GetShownBitmap(), plainNormal);
    // and nothing (a red outline is drawn) while hovered.
    SendMouse(plain, wxEVT_ENTER_WINDOW);
    EXPECT_EQ(plain->GetShownBitmap(), nullptr);
}

TEST_F(PictureButtonTest, BackgroundColourReplacesThePiece) {
    button->SetBackgroundPiece(wxBitmap(30, 20));
    EXPECT_TRUE(button->HasBackgroundPiece());
    button->SetBackgroundColour(*wxWHITE);
    EXPECT_FALSE(button->HasBackgroundPiece());
}

class LayeredPictureButtonTest : public ButtonFixture {
protected:
    void SetUp() override {
        ButtonFixture::SetUp();
        // A 40x20 picture whose left 10 columns are fully transparent.
        wxImage picture = ThemeSandbox::SolidImage(40, 20, *wxBLUE);
        picture.InitAlpha();
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 10; ++x)
                picture.SetAlpha(x, y, wxIMAGE_ALPHA_TRANSPARENT);
        button = new LayeredPictureButton(nullptr, new wxBitmap(picture), Solid(*wxRED, 40, 20),
                                          Solid(*wxGREEN, 40, 20), panel, 311, wxPoint(30, 40));
        panel->Bind(wxEVT_LEFT_DOWN,
                    [this](wxMouseEvent& event) { panelPresses.push_back(event.GetPosition()); });
    }
    LayeredPictureButton* button = nullptr;
    std::vector<wxPoint> panelPresses;
};

TEST_F(LayeredPictureButtonTest, OpaquePressClicksOnReleaseUnlessThePointerLeft) {
    EXPECT_EQ(button->GetSize(), wxSize(40, 20));
    SendMouse(button, wxEVT_ENTER_WINDOW, wxPoint(20, 10));
    EXPECT_EQ(button->GetState(), LayeredPictureButton::STATE_HOVER);
    SendMouse(button, wxEVT_LEFT_DOWN, wxPoint(20, 10));
    EXPECT_EQ(button->GetState(), LayeredPictureButton::STATE_PRESSED);
    SendMouse(button, wxEVT_LEFT_UP, wxPoint(20, 10));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], 311);
    EXPECT_EQ(button->GetState(), LayeredPictureButton::STATE_HOVER);
    EXPECT_TRUE(panelPresses.empty());

    // Leaving while pressed resets; the later release is no click.
    SendMouse(button, wxEVT_LEFT_DOWN, wxPoint(20, 10));
    SendMouse(button, wxEVT_LEAVE_WINDOW, wxPoint(60, 10), true);
    EXPECT_EQ(button->GetState(), LayeredPictureButton::STATE_NORMAL);
    SendMouse(button, wxEVT_LEFT_UP, wxPoint(20, 10));
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(LayeredPictureButtonTest, PressOnATransparentPixelFallsThroughToTheParent) {
    EXPECT_FALSE(button->IsInsidePicture(wxPoint(5, 10)));
    EXPECT_TRUE(button->IsInsidePicture(wxPoint(10, 10)));
    SendMouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 10));
    SendMouse(button, wxEVT_LEFT_UP, wxPoint(5, 10));
    EXPECT_TRUE(clicks.empty());
    EXPECT_NE(button->GetState(), LayeredPictureButton::STATE_PRESSED);
    ASSERT_EQ(panelPresses.size(), 1u);
    // In the parent's coordinates: the button stands at (30, 40).
    EXPECT_EQ(panelPresses[0], wxPoint(35, 50));
}

class MenuStripButtonTest : public ButtonFixture {};

TEST_F(MenuStripButtonTest, ClicksOnThePressAndTracksHover) {
    wxMenu* menu = new wxMenu;
    menu->Append(500, "Add File(s)...");
    MenuStripButton* button = new MenuStripButton(menu, Solid(*wxBLUE, 40, 19),
                                                  Solid(*wxRED, 40, 19), panel, 200, wxPoint(8, 0));
    EXPECT_EQ(button->GetSize(), wxSize(40, 19));
    EXPECT_EQ(button->GetMenu(), menu);

    SendMouse(button, wxEVT_ENTER_WINDOW);
    EXPECT_TRUE(button->IsHoverShown());
    SendMouse(button, wxEVT_LEFT_DOWN);
    ASSERT_EQ(clicks.size(), 1u) << "the menu button must click on the press";
    EXPECT_EQ(clicks[0], 200);
    SendMouse(button, wxEVT_LEFT_UP);
    EXPECT_EQ(clicks.size(), 1u);

    // While its menu is open the bar turns tracking off and forces the hover look.
    button->SetHoverTracking(false);
    button->ShowHover();
    SendMouse(button, wxEVT_LEAVE_WINDOW);
    EXPECT_TRUE(button->IsHoverShown());
    button->SetHoverTracking(true);
    button->ShowNormal();
    EXPECT_FALSE(button->IsHoverShown());
}

} // namespace
