#include "batch/BatchRun.h"

#include <gtest/gtest.h>

TEST(Progress, PercentagesAreTruncatedAndEmptyTotalsShowNothing) {
    int32_t percent = -1;
    EXPECT_TRUE(ProgressPercent(1, 3, percent));
    EXPECT_EQ(percent, 33);
    EXPECT_TRUE(ProgressPercent(3, 3, percent));
    EXPECT_EQ(percent, 100);
    EXPECT_FALSE(ProgressPercent(1, 0, percent));
    EXPECT_FALSE(ProgressPercent(1, -5, percent));
    // Byte counts of big files overflow a 32-bit done * 100.
    EXPECT_TRUE(ProgressPercent(30000000, 40000000, percent));
    EXPECT_EQ(percent, 75);
}
