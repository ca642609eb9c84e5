#include "batch/FileTypes.h"

#include <gtest/gtest.h>

TEST(FileTypes, OnlyTheLowerCasePdfExtensionIsSupported) {
    EXPECT_TRUE(IsSupportedExtension("pdf"));
    for (const char* other : {"PDF", "pd", "df", "", "pdf;txt", "txt"})
        EXPECT_FALSE(IsSupportedExtension(other)) << other;
}

TEST(FileTypes, PathListsRoundTrip) {
    wxString list;
    AppendToPathList(list, "/a/one.pdf");
    AppendToPathList(list, "/b/two words.pdf");
    EXPECT_EQ(list, "/a/one.pdf|/b/two words.pdf|");
    wxArrayString paths = SplitPathList(list);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[1], "/b/two words.pdf");
    EXPECT_TRUE(SplitPathList("").empty());
}
