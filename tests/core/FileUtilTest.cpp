#include "core/FileUtil.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>

namespace {
wxString W(const std::string& s) {
    return wxString::FromUTF8(s.c_str());
}
} // namespace

TEST(FileUtilTest, ExistenceLengthAndWritability) {
    TempDir dir;
    TempDir::WriteFile(dir.file("a.pdf"), "12345");
    EXPECT_TRUE(FileUtil::PathExists(W(dir.path())));
    EXPECT_FALSE(FileUtil::FileExists(W(dir.path())));
    EXPECT_TRUE(FileUtil::FileExists(W(dir.file("a.pdf"))));
    EXPECT_EQ(FileUtil::GetFileLength(W(dir.file("a.pdf"))), 5);
    EXPECT_EQ(FileUtil::GetFileLength(W(dir.file("missing.pdf"))), -1);
    EXPECT_FALSE(FileUtil::PathExists(""));

    // A fifo is no file, and asking its length must not block.
    std::string fifo = dir.file("pipe.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FileUtil::GetFileLength(W(fifo)), 0);
    EXPECT_FALSE(FileUtil::FileExists(W(fifo)));
    EXPECT_FALSE(FileUtil::PathExists(W(fifo)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    EXPECT_TRUE(FileUtil::IsWritableDir(W(dir.path())));
    EXPECT_FALSE(FileUtil::IsWritableDir(W(dir.file("a.pdf"))));
    if (::geteuid() != 0) { // root writes everywhere
        ::chmod(dir.path().c_str(), 0555);
        EXPECT_FALSE(FileUtil::IsWritableDir(W(dir.path())));
        ::chmod(dir.path().c_str(), 0755);
    }
}

TEST(FileUtilTest, ListFilesByExtensionTakesOnlyMatchingFilesDirectlyInside) {
    TempDir dir;
    TempDir::WriteFile(dir.file("a.pdf"), "x");
    TempDir::WriteFile(dir.file("B.PDF"), "x");
    TempDir::WriteFile(dir.file("notes.txt"), "x");
    TempDir::WriteFile(dir.file(".hidden.pdf"), "x");
    TempDir::MakeDir(dir.file("d.pdf"));
    TempDir::WriteFile(dir.file("d.pdf/inner.pdf"), "x");

    wxArrayString found;
    found.Add("kept");
    FileUtil::ListFilesByExtension(W(dir.path()), found, "*.pdf");
    found.Sort();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], W(dir.file("B.PDF")));
    EXPECT_EQ(found[1], W(dir.file("a.pdf")));
    EXPECT_EQ(found[2], "kept");

    wxArrayString upper;
    FileUtil::ListFilesByExtension(W(dir.path()), upper, "*.PDF");
    EXPECT_TRUE(upper.empty());
    FileUtil::ListFilesByExtension(W(dir.file("nowhere")), upper, "*.pdf");
    EXPECT_TRUE(upper.empty());
}
