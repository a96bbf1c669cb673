#include "platform/ui/Geometry.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(Screen, ChoosesTheLargestQuarterStepThatFitsBothDirections) {
    // 480 × 2 = 960 ≤ 0.85 × 1200 = 1020; 480 × 2.25 = 1080 does not fit.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(1920, 1200)), 2.0);
    // Width limits: 320 × 1.25 = 400 ≤ 0.85 × 480 = 408; 1.5 → 480 does not.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(480, 4000)), 1.25);
    // Never above 3, never below 1, even for tiny or huge screens.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(10000, 10000)), 3.0);
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(100, 100)), 1.0);
}

TEST(Screen, AdjacentRectanglesStayAdjacentInPixelsAtFractionalScales) {
    const double saved = Screen::scale();
    Screen::setScale(1.25);
    const QRect upper = Screen::toPixels({0, 0, 320, 44.3});
    const QRect lower = Screen::toPixels({0, 44.3, 320, 44.3});
    Screen::setScale(saved);
    EXPECT_EQ(upper.bottom() + 1, lower.top());
}
