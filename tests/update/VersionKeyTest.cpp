#include "update/VersionKey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string KeyOf(const char* version) {
    char key[kVersionKeyArea];
    std::memset(key, 'x', sizeof key);
    MakeVersionKey(key, version);
    EXPECT_EQ(key[kVersionKeyCapacity], '\0') << version;
    // A NUL inside the first 9 bytes would end strncmp early and hide a difference.
    EXPECT_EQ(std::strlen(key), static_cast<size_t>(kVersionKeyCapacity)) << version;
    return std::string(key);
}
} // namespace

TEST(VersionKey, OrdersDottedVersionsNumerically) {
    const char* ordered[] = {"0.9", "2.1.3", "2.1.4", "2.1.10", "2.2.0", "9.99.999", "10.0.0"};
    for (size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_LT(CompareVersions(ordered[i], ordered[i + 1]), 0)
            << ordered[i] << " vs " << ordered[i + 1];
        EXPECT_GT(CompareVersions(ordered[i + 1], ordered[i]), 0)
            << ordered[i + 1] << " vs " << ordered[i];
    }
}

TEST(VersionKey, EqualVersionsAndMissingPartsCompareEqual) {
    EXPECT_EQ(CompareVersions("2.1.4", "2.1.4"), 0);
    EXPECT_EQ(CompareVersions("2.1", "2.1.0"), 0);
    EXPECT_EQ(CompareVersions("3", "3.0.0"), 0);
    // Only three parts count: a fourth never makes a release look newer.
    EXPECT_EQ(CompareVersions("2.1.4.7", "2.1.4"), 0);
}

TEST(VersionKey, KeyLayoutAndOddTexts) {
    EXPECT_EQ(KeyOf("2.1.10"), "002001010");
    EXPECT_EQ(KeyOf("10.0.0"), "010000000");
    EXPECT_EQ(KeyOf(""), "000000000");
    EXPECT_EQ(KeyOf("2.1.4beta"), "002001004");
    EXPECT_EQ(KeyOf("v2"), "000000000");
    EXPECT_EQ(KeyOf("1234.5.6"), "999005006");
    EXPECT_EQ(KeyOf("2..4"), "002000004");
    EXPECT_EQ(KeyOf(nullptr), "000000000");
}
