#include "platform/ui/TapCounter.h"

#include <gtest/gtest.h>

#include <vector>

using ui::Point;

namespace {

struct Tap {
    double seconds;
    Point at;
    int count; // the count the counter must give
};

// Each series starts with a fresh counter; a tap continues the series when it comes
// within 0.35 s and 20 points of the tap before it, not of the first.
const std::vector<std::vector<Tap>> kSeries = {
    {{10.0, {100, 100}, 1}, {10.2, {105, 98}, 2}, {10.5, {110, 100}, 3}, {10.8, {110, 100}, 4}},
    {{0.0, {0, 0}, 1}, {0.3, {0, 0}, 2}, {0.6, {0, 0}, 3}},
    {{1.0, {50, 50}, 1}, {1.36, {50, 50}, 1}, {1.5, {50, 50}, 2}}, // too slow
    {{1.0, {50, 50}, 1}, {1.1, {50, 71}, 1}, {1.2, {50, 75}, 2}},  // too far
    {{5.0, {0, 0}, 1}, {4.9, {0, 0}, 1}},                          // the clock went back
};

TEST(TapCounter, QuickTapsCloseToTheTapBeforeCountUpAndAnyOtherStartsAgain) {
    for (const auto& series : kSeries) {
        ui::TapCounter counter;
        for (const Tap& tap : series) {
            EXPECT_EQ(counter.registerTap(tap.seconds, tap.at), tap.count)
                << "tap at " << tap.seconds << " s";
        }
    }
}

} // namespace
