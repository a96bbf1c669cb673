#include "platform/ui/ViewAnimation.h"

#include "platform/ui/DelayedPerform.h"
#include "platform/ui/Geometry.h"

#include "support/ManualTimer.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ViewAnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::DelayedPerform::setTimer(&timer);
        ui::ViewAnimation::setClock([this] { return timer.now(); });
        ui::setFrame(view.get(), start);
    }
    void TearDown() override {
        view.reset();
        ui::ViewAnimation::setClock({});
        ui::ViewAnimation::setAnimationsEnabled(true);
        ui::DelayedPerform::setTimer(nullptr);
    }
    void advanceBy(int milliseconds) { timer.runFor(milliseconds); }

    testenv::ManualTimer timer;
    const ui::Rect start{0, 0, 100, 100};
    const ui::Rect end{50, 60, 0, 0};
    std::unique_ptr<QWidget> view = std::make_unique<QWidget>();
    int completions = 0;
};

TEST(ViewAnimationCurve, EasesInAndOutSymmetricallyBetweenItsEnds) {
    EXPECT_DOUBLE_EQ(ui::ViewAnimation::easeInOut(0), 0);
    EXPECT_NEAR(ui::ViewAnimation::easeInOut(0.5), 0.5, 1e-6);
    EXPECT_NEAR(ui::ViewAnimation::easeInOut(1), 1, 1e-9);
    // Slow at both ends, past the straight line after the middle.
    EXPECT_LT(ui::ViewAnimation::easeInOut(0.1), 0.05);
    EXPECT_GT(ui::ViewAnimation::easeInOut(0.9), 0.95);
    EXPECT_NEAR(ui::ViewAnimation::easeInOut(0.3) + ui::ViewAnimation::easeInOut(0.7), 1, 1e-6);
}

TEST_F(ViewAnimationTest, MovesTheFrameOverItsTimeAndCompletesOnceWhenThere) {
    ui::ViewAnimation::animateFrame(view.get(), end, 0.5, [this] { ++completions; });
    EXPECT_EQ(ui::frame(view.get()), start);
    advanceBy(250);
    const ui::Rect halfway = ui::frame(view.get());
    // About halfway (a frame comes every 16 ms, and the view stands on whole pixels).
    EXPECT_NEAR(halfway.width, 50, 6);
    EXPECT_NEAR(halfway.x, 25, 3);
    EXPECT_EQ(completions, 0);
    EXPECT_TRUE(ui::ViewAnimation::isAnimating(view.get()));
    advanceBy(300);
    EXPECT_EQ(ui::frame(view.get()), end);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(ui::ViewAnimation::isAnimating(view.get()));
}

TEST_F(ViewAnimationTest, ANewAnimationTakesOverWhereTheViewIsWithoutTheOldCompletion) {
    ui::ViewAnimation::animateFrame(view.get(), end, 0.5, [this] { completions += 1; });
    advanceBy(250);
    const ui::Rect taken = ui::frame(view.get());
    ui::ViewAnimation::animateFrame(view.get(), start, 0.5, [this] { completions += 10; });
    EXPECT_EQ(ui::frame(view.get()), taken);
    advanceBy(600);
    EXPECT_EQ(ui::frame(view.get()), start);
    EXPECT_EQ(completions, 10);
}

TEST_F(ViewAnimationTest, AViewDestroyedOnTheWayEndsItWithoutCompletion) {
    ui::ViewAnimation::animateFrame(view.get(), end, 0.5, [this] { ++completions; });
    advanceBy(100);
    view.reset();
    advanceBy(600);
    EXPECT_EQ(completions, 0);
}

TEST_F(ViewAnimationTest, WithAnimationsOffTheViewIsPlacedAndCompletedAtOnce) {
    ui::ViewAnimation::setAnimationsEnabled(false);
    ui::ViewAnimation::animateFrame(view.get(), end, 0.5, [this] { ++completions; });
    EXPECT_EQ(ui::frame(view.get()), end);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(ui::ViewAnimation::isAnimating(view.get()));
}

} // namespace
