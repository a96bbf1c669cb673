#include "KeyScreens.h"

#include "platform/ui/ScrollIndicator.h"

#include "support/EventLoop.h"
#include "support/ManualTimer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ui;

namespace {

// Forty rows of 44 points in a view 440 points high: 1320 points to scroll.
constexpr double kEnd = 40 * 44 - 440;

// Mouse events on a clock the test moves; scroll frames and the indicator's fade follow it.
class TableViewScrollingTest : public ::testing::Test {
protected:
    void SetUp() override {
        rows.pushes = rows.titled = false;
        DelayedPerform::setTimer(&timer);
        table->setScrollClock([this] { return timer.now(); });
        setFrame(table, {0, 0, 320, 440});
        table->show();
    }
    void TearDown() override { DelayedPerform::setTimer(nullptr); }

    void advanceBy(int milliseconds) {
        timer.advanceBy(milliseconds);
        testenv::flushEvents();
    }
    void mouse(QEvent::Type type, double x, double y) { // at a point in points
        ::mouse(table->viewport(), type, QPoint(Screen::px(x), Screen::px(y)));
    }
    // A finger from `y` moving `by` points (up negative) in `moves` moves `every` ms
    // apart, lifted at once.
    void swipe(double y, double by, int moves, int every) {
        mouse(QEvent::MouseButtonPress, 100, y);
        for (int move = 1; move <= moves; ++move) {
            advanceBy(every);
            mouse(QEvent::MouseMove, 100, y + by * move / moves);
        }
        mouse(QEvent::MouseButtonRelease, 100, y + by);
    }
    void flickUp(double by) { swipe(400, -by, 5, 10); }
    // Lets time pass frame by frame, as chained steps (the indicator's fade) need.
    void waitFor(int milliseconds) {
        for (int waited = 0; waited < milliseconds; waited += 16) {
            advanceBy(16);
        }
    }
    // The content offset of every frame until the content rests.
    std::vector<double> settle() {
        std::vector<double> path;
        while (table->isDecelerating() && path.size() < 1000) {
            advanceBy(16);
            path.push_back(table->contentOffset().y);
        }
        return path;
    }
    bool indicatorShown() const { return table->scrollIndicator()->isVisible(); }

    testenv::ManualTimer timer;
    NumberedList rows{{40}};
    TableView* table = rows.tableView();
};

} // namespace

TEST_F(TableViewScrollingTest, AFlickCoastsOnAfterReleaseAndRestsWithinTheContent) {
    flickUp(100); // 2000 points a second
    const double released = table->contentOffset().y;
    EXPECT_NEAR(released, 100, 1);
    const std::vector<double> path = settle();
    ASSERT_GT(path.size(), 2U);
    EXPECT_GT(path.back(), released + 300) << "coasting on after the finger left";
    EXPECT_LE(path.back(), kEnd);
    EXPECT_TRUE(rows.tapped.isEmpty()) << "a flick selects nothing";
    EXPECT_EQ(table->indexPathsForVisibleRows().value(0).row, static_cast<int>(path.back() / 44))
        << "the rows follow";
}

TEST_F(TableViewScrollingTest, AFlickPastTheEndOvershootsShowingWhatIsBelowAndSpringsBack) {
    table->setContentOffset({0, kEnd - 100});
    flickUp(100);
    double furthest = 0;
    double lastRowBottom = 440;
    while (table->isDecelerating()) {
        advanceBy(16);
        if (table->contentOffset().y > furthest) {
            furthest = table->contentOffset().y;
            if (const TableViewCell* last = table->cellForRowAtIndexPath({0, 39})) {
                lastRowBottom = Screen::toPoints(last->geometry().bottom() + 1);
            }
        }
    }
    EXPECT_GT(furthest, kEnd + 10);
    EXPECT_LT(lastRowBottom, 430) << "the last row lifted off the bottom";
    EXPECT_NEAR(table->contentOffset().y, kEnd, 0.01);

    table->setContentOffset({0, 20});
    swipe(100, 200, 10, 100); // pulled down past the top, slowly
    EXPECT_NEAR(table->contentOffset().y, -(200 - 20) / 2.0, 1) << "half the finger's way past it";
    settle();
    EXPECT_NEAR(table->contentOffset().y, 0, 0.01);
}

TEST_F(TableViewScrollingTest, ASlowDragStaysWhereItIsLetGo) {
    swipe(400, -100, 20, 50); // 100 points a second
    advanceBy(1000);
    EXPECT_NEAR(table->contentOffset().y, 100, 1);
}

TEST_F(TableViewScrollingTest, ATapSelectsButATouchOnMovingContentOnlyStopsIt) {
    swipe(66, 0, 1, 50);
    EXPECT_EQ(rows.tapped, QList<IndexPath>({{0, 1}}));

    flickUp(100);
    advanceBy(100);
    ASSERT_TRUE(table->isDecelerating());
    mouse(QEvent::MouseButtonPress, 100, 200);
    const double caught = table->contentOffset().y;
    mouse(QEvent::MouseButtonRelease, 100, 200);
    advanceBy(500);
    EXPECT_EQ(table->contentOffset().y, caught);
    EXPECT_EQ(rows.tapped.size(), 1) << "the touch that stopped it selected nothing";

    swipe(200, 0, 1, 50);
    EXPECT_EQ(rows.tapped.size(), 2) << "at rest a tap selects again";
}

TEST_F(TableViewScrollingTest, TheIndicatorShowsWhileTheContentMovesAndFadesAtRest) {
    EXPECT_FALSE(indicatorShown());
    mouse(QEvent::MouseButtonPress, 100, 400);
    advanceBy(10);
    mouse(QEvent::MouseMove, 100, 300);
    const QRect atDrag = table->scrollIndicator()->geometry();
    EXPECT_TRUE(indicatorShown());
    EXPECT_GE(atDrag.right(), table->viewport()->width() - Screen::px(ScrollIndicator::kInset) - 1);
    advanceBy(10);
    mouse(QEvent::MouseMove, 100, 250);
    mouse(QEvent::MouseButtonRelease, 100, 250);
    advanceBy(100);
    EXPECT_GT(table->scrollIndicator()->geometry().top(), atDrag.top()) << "it moves down";
    settle();
    EXPECT_TRUE(indicatorShown()) << "it lingers";
    waitFor(1000);
    EXPECT_FALSE(indicatorShown());

    wheel(table->viewport(), {}, {0, 120});
    EXPECT_TRUE(indicatorShown()) << "the wheel scrolls too";
    waitFor(1000);
    EXPECT_FALSE(indicatorShown());
}

TEST_F(TableViewScrollingTest, ContentThatFitsNeitherCoastsNorShowsAnIndicator) {
    setFrame(table, {0, 0, 320, 2000});
    flickUp(100);
    EXPECT_NEAR(table->contentOffset().y, 50, 1) << "only pulled, half the finger's way";
    settle();
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_FALSE(indicatorShown());
}

TEST_F(TableViewScrollingTest, RowsReloadedWhileItMovesLeaveItRestingWithinTheNewEnds) {
    table->setContentOffset({0, kEnd - 100});
    flickUp(100);
    while (table->contentOffset().y <= kEnd) {
        advanceBy(16);
    }
    rows.sizes = {30};
    table->reloadData();
    settle();
    EXPECT_NEAR(table->contentOffset().y, 30 * 44 - 440, 0.01);
}

TEST_F(TableViewScrollingTest, ATableHiddenWhileItMovesComesBackWithoutAnIndicator) {
    flickUp(100);
    advanceBy(16);
    table->hide();
    settle();
    waitFor(2000);
    table->show();
    EXPECT_FALSE(indicatorShown());
}

TEST_F(TableViewScrollingTest, ClicksBesideTheColumnOfAWideTableSelectNothing) {
    setFrame(table, {0, 0, 900, 440});
    testenv::flushEvents();
    for (const double x : {50.0, 850.0, 450.0}) {
        mouse(QEvent::MouseButtonPress, x, 20);
        mouse(QEvent::MouseButtonRelease, x, 20);
    }
    EXPECT_EQ(rows.tapped, QList<IndexPath>({{0, 0}})) << "only the click inside the column";
}
