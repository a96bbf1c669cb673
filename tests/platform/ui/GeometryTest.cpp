#include "platform/ui/Geometry.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace ui;

namespace {

class ScaleGuard {
public:
    explicit ScaleGuard(double scale) : saved_(Screen::scale()) { Screen::setScale(scale); }
    ~ScaleGuard() { Screen::setScale(saved_); }

private:
    double saved_;
};

} // namespace

TEST(Screen, ChoosesTheLargestQuarterStepThatFitsBothDirections) {
    // 480 × 2 = 960 ≤ 0.85 × 1200 = 1020; 480 × 2.25 = 1080 does not fit.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(1920, 1200)), 2.0);
    // Width limits: 320 × 1.25 = 400 ≤ 0.85 × 480 = 408; 1.5 → 480 does not.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(480, 4000)), 1.25);
    // Never above 3, never below 1, even for tiny or huge screens.
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(10000, 10000)), 3.0);
    EXPECT_DOUBLE_EQ(Screen::chooseScale(QSize(100, 100)), 1.0);
}

TEST(Screen, BoundsAndApplicationFrameAreInPoints) {
    EXPECT_EQ(Screen::bounds(), (Rect{0, 0, 320, 480}));
    EXPECT_EQ(Screen::applicationFrame(), (Rect{0, 20, 320, 460}));
}

TEST(Screen, AdjacentRectanglesStayAdjacentInPixelsAtFractionalScales) {
    ScaleGuard scale(1.25);
    const QRect upper = Screen::toPixels({0, 0, 320, 44.3});
    const QRect lower = Screen::toPixels({0, 44.3, 320, 44.3});
    EXPECT_EQ(upper.bottom() + 1, lower.top());
    EXPECT_EQ(Screen::px(320), 400);
}

TEST(Screen, FramesConvertThroughTheScale) {
    ScaleGuard scale(2.0);
    QWidget widget;
    setFrame(&widget, {10, 20, 30, 40});
    EXPECT_EQ(widget.geometry(), QRect(20, 40, 60, 80));
    EXPECT_EQ(frame(&widget), (Rect{10, 20, 30, 40}));
}

TEST(Rect, ContainsItsTopLeftButNotItsFarEdges) {
    const Rect r{10, 10, 20, 20};
    EXPECT_TRUE(r.contains({10, 10}));
    EXPECT_TRUE(r.contains({29.9, 29.9}));
    EXPECT_FALSE(r.contains({30, 15}));
    EXPECT_FALSE(r.contains({15, 9.9}));
}
