#include "skin/FaceLayout.h"
#include "update/DomainOption.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
wxString W(const std::string& s) {
    return wxString::FromUTF8(s.c_str());
}
} // namespace

TEST(FaceLayoutTest, ElementPathsAndAttributeMapping) {
    TempDir dir;
    TempDir::WriteFile(dir.file("face.xml"),
                       "<face><panewindow>"
                       "<annotatefont x=\"0\" y=\"102\" width=\"204\" size=\"9\"/>"
                       "<nested><deep x=\"abc\" a=\"1\" b=\"7\"/></nested>"
                       "<twice x=\"1\"/><twice x=\"2\"/>"
                       "</panewindow></face>");
    FaceLayout layout;
    ASSERT_EQ(LoadFaceLayout(W(dir.file("face.xml")), layout), 0);

    const FaceRect* font = layout.Find("/face/panewindow/annotatefont");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->x, 0);
    EXPECT_EQ(font->y, 102);
    EXPECT_EQ(font->width, 204);
    EXPECT_EQ(font->value, 9);

    // Elements without attributes get no entry but still name their children's paths.
    EXPECT_EQ(layout.Find("/face"), nullptr);
    EXPECT_EQ(layout.Find("/face/panewindow/nested"), nullptr);
    const FaceRect* deep = layout.Find("/face/panewindow/nested/deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->x, 0);     // "abc" is no number
    EXPECT_EQ(deep->value, 7); // the last other attribute wins

    ASSERT_NE(layout.Find("/face/panewindow/twice"), nullptr);
    EXPECT_EQ(layout.Find("/face/panewindow/twice")->x, 2);
    EXPECT_EQ(layout.size(), 3u);
}

TEST(FaceLayoutTest, MissingFileAndSyntaxErrors) {
    FaceLayout layout;
    EXPECT_EQ(LoadFaceLayout("/no/such/face.xml", layout), -1);
    EXPECT_EQ(layout.size(), 0u);

    TempDir dir;
    std::string path = dir.file("broken.xml");
    TempDir::WriteFile(path, "<face>\n<ok x=\"5\"/>\n<bad <\n</face>");
    int result = 99;
    testing::internal::CaptureStderr();
    result = LoadFaceLayout(W(path), layout);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(err, "not well-formed (invalid token) at line 3 ->" + path + "\n");
    ASSERT_NE(layout.Find("/face/ok"), nullptr); // entries before the error stay
    EXPECT_EQ(layout.Find("/face/ok")->x, 5);
}

TEST(DomainOptionTest, ValuesByPosition) {
    TempDir dir;
    std::string path = dir.file("option.cfg");
    TempDir::WriteFile(path, "<?xml version=\"1.0\"?><o><web>"
                             "<a>help</a><b>two</b><c>support</c><d>four</d>"
                             "<e>https://h/u</e><f>download</f><g>seven</g></web></o>");
    DomainOption option(W(path));
    EXPECT_TRUE(option.ReadOptions());
    EXPECT_EQ(option.GetHelpUrl(), "help");
    EXPECT_EQ(option.GetSupportUrl(), "support");
    EXPECT_EQ(option.GetUpdateUrl(), "https://h/u-update.xml");
    EXPECT_EQ(option.GetDownloadUrl(), "download");
    EXPECT_EQ(option.GetValue(7), "seven");

    TempDir::WriteFile(path, "<o><web><a>help</a><b/><c>support</c><d>four</d></web></o>");
    DomainOption shortFile(W(path));
    EXPECT_FALSE(shortFile.ReadOptions());
    EXPECT_EQ(shortFile.GetSupportUrl(), "support");
    EXPECT_EQ(shortFile.GetValue(2), "");
    EXPECT_EQ(shortFile.GetUpdateUrl(), "");

    DomainOption missing("/no/option.cfg");
    EXPECT_FALSE(missing.ReadOptions());
    EXPECT_EQ(missing.GetHelpUrl(), "");
}
