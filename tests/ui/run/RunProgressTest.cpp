// The run-wide count, the time-left estimate and the words the status line shows.

#include "ui/run/RunProgress.h"

#include <gtest/gtest.h>

namespace {
RunProgress::Snapshot At(int total, int handled, int percent, double seconds) {
    RunProgress::Snapshot now;
    now.total = total;
    now.handled = handled;
    now.percent = percent;
    now.seconds = seconds;
    return now;
}
} // namespace

TEST(RunProgressTest, TimeLeftWaitsForEnoughToGoOnThenCountsDownSteadily) {
    RemainingTime left;
    EXPECT_LT(left.Update(At(100, 0, 50, 1)), 0) << "half a file says too little";
    EXPECT_LT(left.Update(At(100, 2, 0, 2)), 0);
    // 10 of 100 in 10 s: about 90 s to go.
    EXPECT_NEAR(left.Update(At(100, 10, 0, 10)), 90, 0.01);
    // A burst of quick files moves the figure only a tenth of the way: 90 counted
    // down by the second gone, then towards the new projection, 11 * 0.75 / 0.25 s.
    const double after = left.Update(At(100, 25, 0, 11));
    EXPECT_NEAR(after, 89 + 0.1 * (33 - 89), 0.01);
    EXPECT_EQ(left.Update(At(100, 100, 0, 20)), 0) << "nothing is left at the end";
}

TEST(RunProgressTest, CountsAndWordsCoverProgressEndAndStop) {
    RunProgress progress(3);
    progress.ItemStarted();
    progress.ItemProgress(140);
    EXPECT_EQ(progress.Get().percent, 100) << "a percentage beyond 100 is held at 100";
    EXPECT_EQ(DescribeRunProgress(progress.Get(), -1), "1 of 3 files");
    progress.ItemResult(ItemStatus::Finished);
    EXPECT_EQ(DescribeRunProgress(progress.Get(), 72), "2 of 3 files, about 1 min left");
    progress.ItemResult(ItemStatus::Refused);
    progress.ItemResult(ItemStatus::Failed);
    progress.Ended();
    const RunProgress::Snapshot end = progress.Get();
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(DescribeRunEnd(end), "Done in " + DescribeDuration(end.seconds, false) +
                                       ": 1 written, 1 refused, 1 failed");

    RunProgress stopped(4);
    stopped.ItemResult(ItemStatus::Finished);
    stopped.ItemResult(ItemStatus::Stopped);
    stopped.Ended();
    EXPECT_TRUE(DescribeRunEnd(stopped.Get())
                    .EndsWith(": 1 written, 0 refused, 0 failed, 3 not encrypted"));

    EXPECT_EQ(DescribeDuration(3, true), "5 s");
    EXPECT_EQ(DescribeDuration(58, true), "1 min");
    EXPECT_EQ(DescribeDuration(65, false), "1 min 5 s");
    EXPECT_EQ(DescribeDuration(3599, true), "1 h 0 min");
    EXPECT_EQ(DescribeDuration(3725, false), "1 h 2 min");
}
