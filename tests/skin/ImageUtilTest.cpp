#include "skin/ImageUtil.h"

#include "FakeDialogs.h"
#include "ThemeSandbox.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include <memory>

namespace {

class ImageUtilTest : public ::testing::Test {
protected:
    void SetUp() override {
        wxImage close = ThemeSandbox::SolidImage(20, 14, wxColour(200, 40, 40));
        theme.AddImage("image/base/close-normal.png", close);
        // A picture with one marked pixel at (10, 29) for the cutting tests.
        wxImage face = ThemeSandbox::SolidImage(60, 50, wxColour(10, 20, 30));
        face.SetRGB(10, 29, 250, 120, 5);
        face.SetRGB(11, 29, 1, 2, 3);
        theme.AddImage("image/screen1.png", face);
        ASSERT_TRUE(theme.WriteArchive());
    }

    FakeDialogs dialogs;
    ThemeSandbox theme;
};

TEST_F(ImageUtilTest, LoadsAPictureAtItsOwnSizeInBothForms) {
    std::unique_ptr<wxBitmap> owned(ImageUtil::CreateBitmap("image/base/close-normal.png"));
    ASSERT_NE(owned, nullptr);
    EXPECT_TRUE(owned->IsOk());
    EXPECT_EQ(owned->GetSize(), wxSize(20, 14));

    wxBitmap value = ImageUtil::GetBitmap("image/base/close-normal.png", wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(value.IsOk());
    EXPECT_EQ(value.GetSize(), wxSize(20, 14));
    wxImage pixels = value.ConvertToImage();
    EXPECT_EQ(pixels.GetRed(3, 3), 200);
    EXPECT_EQ(pixels.GetGreen(3, 3), 40);
}

TEST_F(ImageUtilTest, MissingEntryWrongTypeOrMissingArchiveGivesNullWithoutADialog) {
    EXPECT_EQ(ImageUtil::CreateBitmap("image/base/no-such.png"), nullptr);
    EXPECT_FALSE(ImageUtil::GetBitmap("image/base/no-such.png").IsOk());
    // The entry exists but is not a JPEG.
    EXPECT_EQ(ImageUtil::CreateBitmap("image/base/close-normal.png", wxBITMAP_TYPE_JPEG), nullptr);

    ThemeSandbox empty; // no archive written: the base directory now has none
    EXPECT_EQ(ImageUtil::CreateBitmap("image/base/close-normal.png"), nullptr);
    EXPECT_FALSE(ImageUtil::GetBitmap("image/base/close-normal.png").IsOk());
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(ImageUtilTest, CuttingKeepsSizeAndOrigin) {
    wxBitmap face = ImageUtil::GetBitmap("image/screen1.png");
    ASSERT_TRUE(face.IsOk());

    std::unique_ptr<wxBitmap> piece(ImageUtil::CreateSubBitmap(face, 10, 29, 25, 19));
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(piece->GetSize(), wxSize(25, 19));
    wxImage cut = piece->ConvertToImage();
    EXPECT_EQ(cut.GetRed(0, 0), 250);
    EXPECT_EQ(cut.GetGreen(0, 0), 120);
    EXPECT_EQ(cut.GetBlue(0, 0), 5);
    EXPECT_EQ(cut.GetRed(1, 0), 1);
    EXPECT_EQ(cut.GetRed(2, 1), 10);

    wxBitmap value = ImageUtil::GetSubBitmap(face, 10, 29, 25, 19);
    EXPECT_EQ(value.GetSize(), wxSize(25, 19));
    EXPECT_EQ(value.ConvertToImage().GetRed(0, 0), 250);
    // The source is left as it was.
    EXPECT_EQ(face.ConvertToImage().GetRed(10, 29), 250);
}

} // namespace
