#include "registry/WorldMapView.h"

#include "platform/ui/DelayedPerform.h"
#include "platform/ui/Geometry.h"
#include "registry/WorldMapViewDelegate.h"

#include "support/EventLoop.h"
#include "support/ManualTimer.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

class Reports : public WorldMapViewDelegate {
public:
    void worldMapViewTapCount(WorldMapView* /*view*/, int tapCount) override {
        counts.push_back(tapCount);
    }
    std::vector<int> counts;
};

class WorldMapViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::DelayedPerform::setTimer(&timer);
        map->setDelegate(&reports);
    }
    void TearDown() override {
        map.reset();
        ui::DelayedPerform::setTimer(nullptr);
    }
    void advanceBy(int milliseconds) {
        timer.advanceBy(milliseconds);
        testenv::flushEvents();
    }
    // Ends a touch of `tapCount` taps `after` milliseconds after the one before.
    void tap(int after, int tapCount) {
        advanceBy(after);
        map->touchesEnded({tapCount, {20, 20}});
    }

    testenv::ManualTimer timer;
    Reports reports;
    std::unique_ptr<WorldMapView> map = std::make_unique<WorldMapView>("rir-map");
};

TEST_F(WorldMapViewTest, QuickTapsAreReportedOnceWithTheirCountAndSlowerOnesApart) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> taps; // (ms after the previous tap, tap count)
        std::vector<int> within;               // reported by 249 ms after the last tap
        std::vector<int> reports;              // by 250 ms
    } cases[] = {
        {"single", {{0, 1}}, {}, {1}},
        {"double", {{0, 1}, {100, 2}}, {}, {2}},
        {"triple", {{0, 1}, {100, 2}, {100, 3}}, {}, {3}},
        {"a fourth quick tap adds nothing", {{0, 1}, {100, 2}, {100, 3}, {100, 4}}, {3}, {3}},
        {"two singles apart", {{0, 1}, {400, 1}}, {1}, {1, 1}},
        // The device still counts the second tap as a double: the single has gone out.
        {"second tap after the delay", {{0, 1}, {300, 2}}, {1}, {1, 2}},
        {"third tap after the delay", {{0, 1}, {100, 2}, {300, 3}}, {2}, {2, 3}},
    };
    for (const auto& [what, taps, within, expected] : cases) {
        reports.counts.clear();
        for (const auto& [after, count] : taps) {
            tap(after, count);
        }
        advanceBy(249);
        EXPECT_EQ(reports.counts, within) << what;
        advanceBy(1);
        EXPECT_EQ(reports.counts, expected) << what;
    }
}

TEST(WorldMapView, AMapMissingFromTheResourcesIsAnEmptyViewAndAPresentOneSetsTheSize) {
    const WorldMapView missing("no-such-map");
    EXPECT_TRUE(missing.image().isNull());
    EXPECT_EQ(ui::frame(&missing), (ui::Rect{10, 1, 0, 0}));
    const WorldMapView present("none32");
    ASSERT_FALSE(present.image().isNull());
    EXPECT_EQ(ui::frame(&present), (ui::Rect{10, 1, 32, 24}));
}

} // namespace
