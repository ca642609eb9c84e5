#include "skin/SkinCheckBox.h"
#include "skin/SkinRadioButton.h"
#include "skin/RadioGroup.h"
#include "skin/PictureCaption.h"
#include "skin/TransparentLabel.h"

#include "MouseSim.h"
#include "WaitFor.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include <vector>

namespace {

class LabelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "labels", wxPoint(40, 40), wxSize(400, 300));
        panel = new wxPanel(frame);
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
    }
    wxFrame* frame = nullptr;
    wxPanel* panel = nullptr;
};

using CheckBoxTest = LabelFixture;

TEST_F(CheckBoxTest, ClickTogglesAndQueuesTheEvent) {
    SkinCheckBox* box = new SkinCheckBox(panel, 600, "User Password", wxPoint(30, 12));
    std::vector<bool> seen;
    panel->Bind(wxEVT_SKIN_CHECKBOX_CLICKED, [&](wxCommandEvent& event) {
        EXPECT_EQ(event.GetId(), 600);
        seen.push_back(box->IsChecked());
    });
    EXPECT_FALSE(box->IsChecked());
    EXPECT_FALSE(box->IsTouched());
    EXPECT_GT(box->GetSize().GetWidth(), 6);

    SendMouse(box, wxEVT_LEFT_DOWN);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_TRUE(box->IsTouched());
    EXPECT_TRUE(seen.empty()) << "the event must be queued, not sent at once";
    ASSERT_TRUE(WaitFor([&] { return seen.size() == 1; }));
    EXPECT_TRUE(seen[0]);
    SendMouse(box, wxEVT_LEFT_UP);
    PumpEvents();
    EXPECT_EQ(seen.size(), 1u) << "the release does nothing";
}

TEST_F(CheckBoxTest, DoubleClickTogglesTwiceAndDisabledIgnoresClicks) {
    SkinCheckBox* box = new SkinCheckBox(panel, 607, "Permit Document Printing", wxPoint(30, 40));
    int events = 0;
    panel->Bind(wxEVT_SKIN_CHECKBOX_CLICKED, [&](wxCommandEvent&) { ++events; });
    SendMouse(box, wxEVT_LEFT_DOWN);
    SendMouse(box, wxEVT_LEFT_UP);
    SendMouse(box, wxEVT_LEFT_DCLICK);
    SendMouse(box, wxEVT_LEFT_UP);
    ASSERT_TRUE(WaitFor([&] { return events == 2; }));
    EXPECT_FALSE(box->IsChecked());

    box->SetChecked(true);
    box->SetEnabled(false);
    SendMouse(box, wxEVT_LEFT_DOWN);
    PumpEvents();
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(events, 2);
}

class RadioGroupTest : public LabelFixture {
protected:
    void SetUp() override {
        LabelFixture::SetUp();
        const char* captions[] = {"128 bits AES", "128 bits RC4", "40 bits RC4"};
        for (int i = 0; i < 3; ++i)
            radios[i] = new SkinRadioButton(panel, 604 + i, captions[i], wxPoint(30, 20 + 30 * i));
        group.Add({radios[0], radios[1], radios[2]});
        radios[0]->SetValue(true);
        group.InitFromButtons();
        panel->Bind(wxEVT_SKIN_RADIOBUTTON_SELECTED,
                    [this](wxCommandEvent& event) { selectedIds.push_back(event.GetId()); });
    }
    int SelectedCount() const {
        int count = 0;
        for (SkinRadioButton* radio : radios)
            count += radio->GetValue() ? 1 : 0;
        return count;
    }

    SkinRadioButton* radios[3] = {nullptr, nullptr, nullptr};
    RadioGroup group;
    std::vector<int> selectedIds;
};

TEST_F(RadioGroupTest, ClickMovesTheSelectionAndQueuesOneEvent) {
    EXPECT_EQ(group.GetCount(), 3);
    EXPECT_EQ(radios[2]->GetGroupIndex(), 2);
    EXPECT_EQ(radios[2]->GetGroup(), &group);
    EXPECT_EQ(group.GetSelection(), 0);
    SendMouse(radios[2], wxEVT_LEFT_DOWN);
    EXPECT_TRUE(radios[2]->GetValue());
    EXPECT_FALSE(radios[0]->GetValue());
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(group.GetSelection(), 2);
    EXPECT_TRUE(selectedIds.empty());
    ASSERT_TRUE(WaitFor([&] { return selectedIds.size() == 1; }));
    EXPECT_EQ(selectedIds[0], 606);

    SendMouse(radios[1], wxEVT_LEFT_DOWN);
    EXPECT_FALSE(radios[2]->GetValue());
    EXPECT_TRUE(radios[1]->GetValue());
    EXPECT_EQ(SelectedCount(), 1);
    ASSERT_TRUE(WaitFor([&] { return selectedIds.size() == 2; }));
    EXPECT_EQ(selectedIds[1], 605);
}

TEST_F(RadioGroupTest, SelectedOrDisabledButtonSendsNothingAndSetValueKeepsOne) {
    SendMouse(radios[0], wxEVT_LEFT_DOWN);
    radios[1]->SetEnabled(false);
    SendMouse(radios[1], wxEVT_LEFT_DOWN);
    PumpEvents();
    EXPECT_TRUE(selectedIds.empty());
    EXPECT_TRUE(radios[0]->GetValue());
    EXPECT_FALSE(radios[1]->GetValue());

    radios[2]->SetValue(true);
    EXPECT_EQ(group.GetSelection(), 2);
    EXPECT_EQ(SelectedCount(), 1);
    radios[2]->SetValue(false); // ignored: one must stay selected
    EXPECT_TRUE(radios[2]->GetValue());
}

using TextTest = LabelFixture;

// The size of text in font as drawn on window.
wxSize Extent(wxWindow* window, const wxString& text, const wxFont& font) {
    int width = 0;
    int height = 0;
    window->GetTextExtent(text, &width, &height, nullptr, nullptr, &font);
    return wxSize(width, height);
}

TEST_F(TextTest, PictureCaptionResizesOnlyWhenAsked) {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    wxBitmap piece(40, 22);
    PictureCaption* fixed =
        new PictureCaption(panel, wxID_ANY, "ab", font, piece, wxPoint(0, 0), wxSize(40, 22));
    fixed->SetText("a much longer text than before");
    EXPECT_EQ(fixed->GetSize(), wxSize(40, 22));
    EXPECT_EQ(fixed->GetText(), "a much longer text than before");

    PictureCaption* growing =
        new PictureCaption(panel, wxID_ANY, "ab", font, piece, wxPoint(0, 30), wxSize(40, 22));
    growing->SetAutoResize(true);
    const wxString text = "/home/user/Documents/encrypted output";
    growing->SetText(text);
    const wxSize extent = Extent(growing, text, font);
    // Drawn 4 pixels in, so the control is 4 pixels wider than the text.
    EXPECT_EQ(growing->GetSize().GetWidth(), extent.GetWidth() + 4);
    EXPECT_GE(growing->GetSize().GetHeight(), extent.GetHeight());
    EXPECT_EQ(growing->GetBestSize(), growing->GetSize());
}

TEST_F(TextTest, PictureCaptionWithoutInsetTakesTheTextSizeWhenAutoResizing) {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    PictureCaption* text =
        new PictureCaption(panel, wxID_ANY, "x", font, wxBitmap(), wxPoint(0, 0), wxSize(10, 10));
    text->SetTextInset(0);
    text->SetText("longer and longer");
    EXPECT_EQ(text->GetSize(), wxSize(10, 10));
    text->SetAutoResize(true)->SetText("longer and longer");
    EXPECT_EQ(text->GetSize(), Extent(text, "longer and longer", font));
}

TEST_F(TextTest, StaticLabelFollowsItsText) {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    TransparentLabel* label =
        new TransparentLabel(nullptr, "Brisklowan", panel, wxID_ANY, wxPoint(5, 5), font, *wxWHITE);
    EXPECT_EQ(label->GetSize(), Extent(label, "Brisklowan", font));
    label->SetText("Brisklowan PDF Zerovovor");
    EXPECT_EQ(label->GetSize(), Extent(label, "Brisklowan PDF Zerovovor", font));
}

} // namespace
