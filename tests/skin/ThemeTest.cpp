// Checks the shipped theme against what the windows expect of it: every picture
// they name is there, the face fits the main window's fixed rectangles, states of
// one button share a size and look different, and outlines come out as shapes.

#include "skin/ImageUtil.h"
#include "skin/ShapedFrame.h"

#include "ThemeSandbox.h"

#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <map>
#include <memory>

#include <vector>

namespace {

class ThemeTest : public ::testing::Test {
protected:
    void SetUp() override { ThemeSandbox::UseStagedTheme(); }

    static wxBitmap Load(const wxString& path) {
        wxBitmap bitmap = ImageUtil::GetBitmap(path);
        EXPECT_TRUE(bitmap.IsOk()) << path.utf8_str() << " is missing from the theme";
        return bitmap;
    }

    // The pictures of one button: all present, one size, pairwise different.
    static wxSize CheckStates(const wxString& stem, const std::vector<wxString>& states) {
        std::vector<wxImage> images;
        for (const wxString& state : states)
            images.push_back(Load(stem + "-" + state + ".png").ConvertToImage());
        for (size_t i = 0; i < images.size(); ++i) {
            if (!images[i].IsOk())
                return wxSize();
            EXPECT_EQ(images[i].GetSize(), images[0].GetSize()) << stem.utf8_str();
            for (size_t j = 0; j < i; ++j) {
                bool same = images[i].GetSize() == images[j].GetSize() &&
                            memcmp(images[i].GetData(), images[j].GetData(),
                                   images[i].GetWidth() * images[i].GetHeight() * 3) == 0;
                EXPECT_FALSE(same) << stem.utf8_str() << ": " << states[i].utf8_str() << " and "
                                   << states[j].utf8_str() << " look the same";
            }
        }
        return images[0].GetSize();
    }
};

const std::vector<wxString> kThree = {"normal", "current", "pressed"};

TEST_F(ThemeTest, FaceFitsTheMainWindowRectangles) {
    wxBitmap face = Load("image/screen1.png");
    ASSERT_TRUE(face.IsOk());
    const int W = face.GetWidth();
    const int H = face.GetHeight();
    EXPECT_GE(W, 735) << "the start panel ends at x 735";
    EXPECT_GE(H - 82, 530) << "the output strip must start below the options pane";

    // Rounded corners: the mask colour lies outside, the body inside.
    wxRegion shape = ShapedFrame::MakeShapeRegion(&face);
    EXPECT_EQ(shape.Contains(0, 0), wxOutRegion);
    EXPECT_EQ(shape.Contains(W - 1, H - 1), wxOutRegion);
    EXPECT_EQ(shape.Contains(W / 2, H / 2), wxInRegion);
    EXPECT_EQ(shape.Contains(W / 2, 0), wxInRegion);
}

TEST_F(ThemeTest, TitleAndAboutPicturesFitTheirPlaces) {
    wxSize close = CheckStates("image/base/close", kThree);
    wxSize minimize = CheckStates("image/base/minimize", kThree);
    EXPECT_EQ(close, minimize);
    EXPECT_LE(close.GetHeight() + 2, 28) << "title bar buttons stand at y 2 in a 28-pixel bar";

    wxSize icon = Load("image/application/application.png").GetSize();
    EXPECT_EQ(icon, wxSize(16, 16));

    wxBitmap about = Load("image/base/background.png");
    ASSERT_TRUE(about.IsOk());
    wxSize ok = CheckStates("image/about/ok", kThree);
    EXPECT_LE(340 + ok.GetWidth(), about.GetWidth()) << "OK stands at (340, 240)";
    EXPECT_LE(240 + ok.GetHeight(), about.GetHeight());
    // The close button (margin 12, 5) must stay on the title strip's right end.
    EXPECT_GT(about.GetWidth() - 12 - close.GetWidth(), about.GetWidth() / 2);
    wxRegion shape = ShapedFrame::MakeShapeRegion(&about);
    EXPECT_EQ(shape.Contains(0, 0), wxOutRegion);
    EXPECT_EQ(shape.Contains(about.GetWidth() / 2, about.GetHeight() / 2), wxInRegion);

    EXPECT_EQ(Load("image/base/lock.png").GetSize(), wxSize(16, 16));
    EXPECT_EQ(Load("image/base/delete.png").GetSize(), wxSize(16, 16));
}

TEST_F(ThemeTest, PanelButtonsFitTheirPanels) {
    wxSize add = CheckStates("image/toolbar/add-file", kThree);
    EXPECT_EQ(CheckStates("image/toolbar/delete", kThree), add);
    EXPECT_EQ(CheckStates("image/toolbar/clear-all", kThree), add);
    EXPECT_LE(5 + add.GetWidth(), 128);
    EXPECT_LE(3 * add.GetHeight() + 4, 172) << "three buttons h + 2 apart in a 172-pixel bar";

    wxSize browse = CheckStates("image/output/browse", kThree);
    wxSize open = CheckStates("image/output/open", kThree);
    // Label about 100 pixels, gap 6, box 240, gaps of 8: both buttons inside 570.
    EXPECT_LE(16 + 100 + 6 + 240 + 8 + browse.GetWidth() + 8 + open.GetWidth(), 570);
    EXPECT_LE(26 + browse.GetHeight(), 76);

    wxSize start = CheckStates("image/start/start", kThree);
    EXPECT_EQ(CheckStates("image/start/stop", kThree), start);
    EXPECT_LE(start.GetWidth(), 155);
    EXPECT_LE(start.GetHeight(), 53);

    wxSize file = CheckStates("image/menubar/file", {"normal", "pressed"});
    wxSize help = CheckStates("image/menubar/help", {"normal", "pressed"});
    EXPECT_LE(file.GetHeight(), 19);
    EXPECT_LE(help.GetHeight(), 19);
}

TEST_F(ThemeTest, EveryPictureHasItsTwiceAsLargeCounterpart) {
    wxFFileInputStream file(PZ_STAGE_DIR "/Themes/default.zip");
    ASSERT_TRUE(file.IsOk());
    wxZipInputStream zip(file);
    std::map<wxString, wxSize> sizes;
    while (std::unique_ptr<wxZipEntry> entry{zip.GetNextEntry()}) {
        wxImage image(zip, wxBITMAP_TYPE_PNG);
        EXPECT_TRUE(image.IsOk()) << entry->GetName().utf8_str();
        sizes[entry->GetName(wxPATH_UNIX)] = image.GetSize();
    }
    int pictures = 0;
    for (const auto& [name, size] : sizes) {
        if (name.Contains("@2x"))
            continue;
        ++pictures;
        const auto twice = sizes.find(name.BeforeLast('.') + "@2x.png");
        ASSERT_NE(twice, sizes.end()) << name.utf8_str() << " has no 2x picture";
        EXPECT_EQ(twice->second, size * 2) << name.utf8_str();
    }
    EXPECT_EQ(sizes.size(), 2u * pictures) << "a 2x picture without its 1x one";
}

TEST_F(ThemeTest, LayoutFileAndDesktopIconAreStaged) {
    EXPECT_TRUE(wxFileName::FileExists(PZ_STAGE_DIR "/Themes/face.xml"));
    EXPECT_TRUE(wxFileName::FileExists(PZ_STAGE_DIR "/option.cfg"));
    wxImage icon(PZ_STAGE_DIR "/share/icons/hicolor/64x64/apps/pdfzerovovor.png",
                 wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(icon.IsOk());
    EXPECT_EQ(icon.GetSize(), wxSize(64, 64));
}

} // namespace
