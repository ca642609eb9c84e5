// The window at the display's scale. Run twice by CTest: as it is (1x) and with
// GDK_SCALE=2, where the window must be twice the face in physical pixels and
// print the 2x art, not the 1x picture stretched.

#include "MainWindowFixture.h"
#include "ScreenGrab.h"
#include "WaitFor.h"
#include "skin/ImageUtil.h"

#include <wx/filesys.h>
#include <wx/image.h>

#include <memory>

namespace {
// Share of the pixels of two equally sized pictures that agree within a few levels.
double Agreement(const wxImage& a, const wxImage& b) {
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize())
        return 0;
    int same = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            same += std::abs(a.GetRed(x, y) - b.GetRed(x, y)) <= 6 &&
                    std::abs(a.GetGreen(x, y) - b.GetGreen(x, y)) <= 6 &&
                    std::abs(a.GetBlue(x, y) - b.GetBlue(x, y)) <= 6;
    return double(same) / (a.GetWidth() * a.GetHeight());
}
// A picture straight from the theme archive, as the theme build wrote it.
wxImage ReadArt(const wxString& path) {
    wxFileSystem fs;
    std::unique_ptr<wxFSFile> file(fs.OpenFile(ImageUtil::MakeLocation(path)));
    wxImage image;
    if (file && file->GetStream())
        image.LoadFile(*file->GetStream(), wxBITMAP_TYPE_PNG);
    return image;
}
} // namespace

using DisplayScaleTest = MainWindowTest;

TEST_F(DisplayScaleTest, TheFaceIsPrintedFromThePictureOfTheDisplaysScale) {
    const int scale = wxRound(m_frame->GetContentScaleFactor());
    const wxImage face = ReadArt("image/screen1.png");
    const wxImage faceTwice = ReadArt("image/screen1@2x.png");
    ASSERT_TRUE(face.IsOk() && faceTwice.IsOk());
    const wxSize logical = face.GetSize();
    // Laid out in the face's own pixels; the display multiplies them.
    EXPECT_EQ(m_frame->GetSize(), logical);
    EXPECT_EQ(m_frame->GetSize() * scale, logical * scale);

    // The caption "Security Settings" printed in the face, between list and pane:
    // text edges show at once whether a picture was drawn or stretched.
    const wxRect caption(16, 234, 120, 8);
    m_frame->Move(0, 0);
    m_frame->Raise();
    wxImage shown;
    const wxRect physical(caption.GetPosition() * scale, caption.GetSize() * scale);
    auto readCaption = [&] {
        m_frame->Update();
        PumpEvents();
        return ReadScreenArea(wxRect(m_frame->GetScreenPosition() * scale + physical.GetPosition(),
                                     physical.GetSize()),
                              shown);
    };
    if (!readCaption())
        GTEST_SKIP() << "ImageMagick's import is needed to read the screen";

    const wxImage art = (scale == 1 ? face : faceTwice).GetSubImage(physical);
    EXPECT_TRUE(WaitFor([&] { return readCaption() && Agreement(shown, art) > 0.97; }))
        << "only " << Agreement(shown, art) << " of the caption's pixels are the " << scale
        << "x art's";
    if (scale > 1) {
        const wxImage stretched = face.GetSubImage(caption).Scale(physical.width, physical.height,
                                                                  wxIMAGE_QUALITY_BILINEAR);
        EXPECT_LT(Agreement(shown, stretched), 0.9) << "the 1x picture, stretched, looks the same";
    }
}
