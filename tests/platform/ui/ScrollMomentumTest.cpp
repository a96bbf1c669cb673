#include "platform/ui/ScrollMomentum.h"

#include <gtest/gtest.h>

#include <vector>

using ui::ScrollMomentum;
using namespace std::chrono_literals;

namespace {

constexpr double kEnd = 1000; // the largest offset: content 1000 points taller than the view

class ScrollMomentumTest : public ::testing::Test {
protected:
    // A finger moving the content from `from` by `by` points over `duration`, in
    // frames of 10 ms, then lifted.
    void drag(double from, double by, std::chrono::milliseconds duration) {
        momentum.beginDrag(from, now);
        const int steps = static_cast<int>(duration / 10ms);
        for (int step = 1; step <= steps; ++step) {
            now += 10ms;
            momentum.dragTo(from + by * step / steps, now);
        }
        last = from + by;
    }
    void release() { momentum.release(last, now, 0, kEnd); }
    // The offsets of every frame of 16 ms until the content rests.
    std::vector<double> run() {
        std::vector<double> path;
        while (momentum.isMoving() && path.size() < 10000) {
            now += 16ms;
            path.push_back(momentum.offsetAt(now));
        }
        return path;
    }

    ScrollMomentum momentum;
    ScrollMomentum::TimePoint now{};
    double last = 0;
};

} // namespace

TEST_F(ScrollMomentumTest, AFlickCoastsOnSlowingDownAndRestsWithinTheContent) {
    drag(100, 50, 50ms); // 1000 points a second
    release();
    EXPECT_NEAR(momentum.releaseVelocity(), 1000, 1);
    const std::vector<double> path = run();
    ASSERT_GT(path.size(), 2U);
    for (size_t i = 1; i < path.size(); ++i) {
        EXPECT_GE(path[i], path[i - 1]) << "never back, frame " << i;
    }
    EXPECT_LT(path.back() - path[path.size() - 2], path[1] - path[0]) << "slowing";
    // 1000 points a second lose e of their speed in half a second: about 500 points on.
    EXPECT_NEAR(path.back(), 150 + 1000 * 0.4995, 10);
    EXPECT_EQ(momentum.offsetAt(now + 1s), path.back()) << "and stays";
}

TEST_F(ScrollMomentumTest, AFlickPastAnEndOvershootsBoundedlyAndSpringsBackToIt) {
    drag(900, 60, 30ms); // 2000 points a second, 40 from the end
    release();
    const std::vector<double> path = run();
    EXPECT_LT(*std::max_element(path.begin(), path.end()), kEnd + 200);
    EXPECT_EQ(path.back(), kEnd);
}

TEST_F(ScrollMomentumTest, APauseBeforeLiftingOrAJumpLeavesTheContentWhereItIs) {
    drag(200, 100, 50ms); // fast, then held still before lifting
    now += 200ms;
    release();
    EXPECT_FALSE(momentum.isMoving());

    momentum.beginDrag(200, now); // moved all at once: no measure of its speed
    momentum.dragTo(300, now + 1ms);
    momentum.release(300, now + 1ms, 0, kEnd);
    EXPECT_FALSE(momentum.isMoving());
}

TEST_F(ScrollMomentumTest, ContentDraggedPastAnEndMovesHalfAsFarAndSpringsBack) {
    EXPECT_EQ(ScrollMomentum::resisted(-40, 0, kEnd), -20);
    EXPECT_EQ(ScrollMomentum::resisted(500, 0, kEnd), 500);
    EXPECT_EQ(ScrollMomentum::unresisted(ScrollMomentum::resisted(-40, 0, kEnd), 0, kEnd), -40);

    drag(-20, -10, 500ms); // slowly further past the top
    release();
    ASSERT_TRUE(momentum.isMoving());
    const std::vector<double> path = run();
    for (size_t i = 1; i < path.size(); ++i) {
        EXPECT_GE(path[i], path[i - 1]) << "straight back, frame " << i;
    }
    EXPECT_EQ(path.back(), 0);
}

TEST_F(ScrollMomentumTest, TheSamePathAtAnyFrameRate) {
    drag(900, 60, 30ms); // a flick that crosses the end on its way
    release();
    const ScrollMomentum::TimePoint released = now;
    ScrollMomentum stepped = momentum;
    for (auto t = 1ms; t < 300ms; t += 1ms) {
        stepped.offsetAt(released + t);
    }
    EXPECT_NEAR(stepped.offsetAt(released + 300ms), momentum.offsetAt(released + 300ms), 1e-3);
}
