#include "platform/ui/TapCounter.h"

#include <gtest/gtest.h>

using ui::Point;
using ui::TapCounter;

TEST(TapCounter, QuickTapsAtOnePlaceCountUp) {
    TapCounter counter;
    EXPECT_EQ(counter.registerTap(10.0, {100, 100}), 1);
    EXPECT_EQ(counter.registerTap(10.2, {105, 98}), 2);
    EXPECT_EQ(counter.registerTap(10.5, {110, 100}), 3);
    EXPECT_EQ(counter.registerTap(10.8, {110, 100}), 4);
}

TEST(TapCounter, IntervalIsMeasuredFromThePreviousTapNotTheFirst) {
    TapCounter counter;
    counter.registerTap(0.0, {0, 0});
    counter.registerTap(0.3, {0, 0});
    // 0.6 s after the first tap but 0.3 s after the second: still the series.
    EXPECT_EQ(counter.registerTap(0.6, {0, 0}), 3);
}

TEST(TapCounter, SlowTapStartsANewSeries) {
    TapCounter counter;
    counter.registerTap(1.0, {50, 50});
    EXPECT_EQ(counter.registerTap(1.36, {50, 50}), 1);
    EXPECT_EQ(counter.registerTap(1.5, {50, 50}), 2);
}

TEST(TapCounter, DistantTapStartsANewSeries) {
    TapCounter counter;
    counter.registerTap(1.0, {50, 50});
    EXPECT_EQ(counter.registerTap(1.1, {50, 71}), 1);
    // Distance is measured from the previous tap, which is now the distant one.
    EXPECT_EQ(counter.registerTap(1.2, {50, 75}), 2);
}

TEST(TapCounter, ClockGoingBackwardsDoesNotContinueTheSeries) {
    TapCounter counter;
    counter.registerTap(5.0, {0, 0});
    EXPECT_EQ(counter.registerTap(4.9, {0, 0}), 1);
}
