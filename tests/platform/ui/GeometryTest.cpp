#include "platform/ui/Geometry.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(Screen, ChoosesTheLargestQuarterStepThatFitsBothDirections) {
    // 480 × 2 = 960 ≤ 0.85 × 1200 = 1020; 480 × 2.25 = 1080 does not fit.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(1920, 1200)), 2.0);
    // Width limits: 320 × 1.25 = 400 ≤ 0.85 × 480 = 408; 1.5 → 480 does not.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(480, 4000)), 1.25);
    // Never above 3, even for huge screens.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(10000, 10000)), 3.0);
}

TEST(Screen, ASmallDisplayGetsTheScaleAtWhichTheWholeWindowFits) {
    // 480 points fit an 800 × 480 display at 1, though not with room to spare.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(800, 480)), 1.0);
    // A title bar of 48 pixels leaves 432: 0.9 of the screen's height.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(800, 480), QSize(16, 48)), 0.9);
    // A panel takes 30 more: 402 / 480 = 0.8375, down to a step of 0.05.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(800, 450), QSize(16, 48)), 0.8);
    // Narrow: the width decides.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(256, 1000)), 0.8);
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(100, 100)), 0.25);
}

TEST(Screen, AdjacentRectanglesStayAdjacentInPixelsAtFractionalScales) {
    const double saved = Screen::scale();
    Screen::setScale(1.25);
    const QRect upper = Screen::toPixels({0, 0, 320, 44.3});
    const QRect lower = Screen::toPixels({0, 44.3, 320, 44.3});
    Screen::setScale(saved);
    EXPECT_EQ(upper.bottom() + 1, lower.top());
}
