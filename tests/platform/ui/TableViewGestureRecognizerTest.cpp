#include "platform/ui/TableViewGestureRecognizer.h"

#include "platform/ui/TableViewCell.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace ui;

namespace {

// Five rows of 40 pixels with real cells, and a log of what the recognizer did.
class FakeTable : public TableViewGestureRecognizerDelegate {
public:
    static constexpr int kRowPixels = 40;

    FakeTable() {
        for (int row = 0; row < 5; ++row) {
            auto* cell = new TableViewCell("Row");
            cell->setParent(&viewport);
            cell->setGeometry(0, row * kRowPixels, 320, kRowPixels);
            cells.push_back(cell);
        }
    }

    std::optional<IndexPath> rowAtPoint(QPoint point) override {
        const int row = point.y() / kRowPixels;
        return point.y() >= 0 && row < 5 ? std::optional<IndexPath>({0, row}) : std::nullopt;
    }
    TableViewCell* cellForRowAtIndexPath(const IndexPath& p) override { return cells.at(p.row); }
    void highlightRow(const IndexPath& p, bool on) override {
        note(on ? "highlight" : "unhighlight", p);
    }
    bool isScrollEnabled() const override { return scrollEnabled; }
    int scrollPosition() const override { return position; }
    void scrollToPosition(int to) override { position = to; }
    bool stopScrolling() override { return std::exchange(coasting, false); }
    void beginDragging() override { ++dragsBegun; }
    void endDragging() override { ++dragsEnded; }
    void tapRowAtIndexPath(const IndexPath& p) override { note("tap", p); }
    void tapAccessoryAtIndexPath(const IndexPath& p) override { note("accessory", p); }
    void swipeToDeleteRowAtIndexPath(const IndexPath& p) override { note("swipe", p); }
    std::optional<IndexPath> indexPathShowingDeleteConfirmation() const override {
        return confirming;
    }
    void confirmDeleteAtIndexPath(const IndexPath& p) override { note("delete", p); }
    void hideDeleteConfirmation() override { log.append("hide"); }
    void note(const char* what, const IndexPath& p) {
        log.append(QString("%1 %2").arg(what).arg(p.row));
    }

    QWidget viewport;
    std::vector<TableViewCell*> cells;
    QStringList log;
    bool scrollEnabled = true;
    int position = 100;
    bool coasting = false;
    int dragsBegun = 0;
    int dragsEnded = 0;
    std::optional<IndexPath> confirming;
};

class TableViewGestureRecognizerTest : public ::testing::Test {
protected:
    void click(QPoint point) { dragUp(point, 0); }
    void dragUp(QPoint from, int pixels) {
        gestures.pressAtPoint(from);
        gestures.moveToPoint(from - QPoint(0, pixels));
        gestures.releaseAtPoint(from - QPoint(0, pixels));
    }
    // The centre of a cell's part, in viewport pixels.
    QPoint centreOf(int row, QRect part) { return table.cells[row]->pos() + part.center(); }

    FakeTable table;
    TableViewGestureRecognizer gestures{&table};
};

TEST_F(TableViewGestureRecognizerTest, APressLiftedInPlaceHighlightsThenTapsTheRow) {
    gestures.pressAtPoint({50, 90});
    gestures.moveToPoint({53, 93}); // a finger's tremor
    gestures.releaseAtPoint({53, 93});
    EXPECT_EQ(table.log, QStringList({"highlight 2", "unhighlight 2", "tap 2"}));
    EXPECT_EQ(table.position, 100);
}

TEST_F(TableViewGestureRecognizerTest, AVerticalMoveDragsTheContentAndTapsNothing) {
    gestures.pressAtPoint({50, 90});
    gestures.moveToPoint({50, 90 - Screen::px(30)});
    EXPECT_TRUE(gestures.isDragging());
    EXPECT_EQ(table.position, 100 + Screen::px(30));
    gestures.moveToPoint({50, 90 + Screen::px(20)});
    EXPECT_EQ(table.position, 100 - Screen::px(20)) << "back down with the finger";
    gestures.releaseAtPoint({50, 90});
    EXPECT_EQ(table.log, QStringList({"highlight 2", "unhighlight 2"}));
    EXPECT_EQ(table.dragsBegun, 1) << "one drag, begun before it moved the content";
    EXPECT_EQ(table.dragsEnded, 1) << "its end may set the content coasting";
}

TEST_F(TableViewGestureRecognizerTest, APressThatCatchesCoastingContentTapsNothing) {
    table.coasting = true;
    click({50, 90});
    EXPECT_TRUE(table.log.isEmpty()) << "neither highlighted nor tapped";
    EXPECT_EQ(table.dragsEnded, 1) << "lifted, the caught content may spring back";

    table.coasting = true;
    dragUp({50, 90}, Screen::px(30));
    EXPECT_EQ(table.position, 100 + Screen::px(30)) << "a caught content drags on";
    EXPECT_TRUE(table.log.isEmpty());

    click({50, 90});
    EXPECT_EQ(table.log, QStringList({"highlight 2", "unhighlight 2", "tap 2"}))
        << "content at rest: a tap again";
}

TEST_F(TableViewGestureRecognizerTest, ATableThatCannotScrollIsNotDragged) {
    table.scrollEnabled = false;
    dragUp({50, 90}, Screen::px(30));
    EXPECT_EQ(table.position, 100);
    EXPECT_FALSE(table.log.contains("tap 2"));
    EXPECT_FALSE(gestures.scrollByWheel({}, {0, -120}));
    EXPECT_EQ(table.position, 100);
    EXPECT_EQ(table.dragsBegun + table.dragsEnded, 0);
}

TEST_F(TableViewGestureRecognizerTest, ASidewaysMoveSwipesTheRowItBeganOn) {
    gestures.pressAtPoint({50, 130});
    gestures.moveToPoint({50 + Screen::px(30), 130}); // not yet a swipe
    EXPECT_TRUE(table.log.filter("swipe").isEmpty());
    gestures.moveToPoint({50 + Screen::px(50), 170});
    gestures.releaseAtPoint({50 + Screen::px(50), 170});
    EXPECT_EQ(table.log, QStringList({"highlight 3", "unhighlight 3", "swipe 3"}));
}

TEST_F(TableViewGestureRecognizerTest, TheWheelScrollsByStepsOrByTheTouchpadsPixels) {
    EXPECT_TRUE(gestures.scrollByWheel({}, {0, -120}));
    EXPECT_EQ(table.position, 100 + Screen::px(66));
    EXPECT_TRUE(gestures.scrollByWheel({0, 7}, {0, -120}));
    EXPECT_EQ(table.position, 100 + Screen::px(66) - 7);
}

TEST_F(TableViewGestureRecognizerTest, ATapOnTheDetailButtonOrTheDeleteControlIsTheirs) {
    table.cells[1]->setAccessoryType(TableViewCellAccessoryType::DetailDisclosureButton);
    click(centreOf(1, table.cells[1]->accessoryRect()));
    table.cells[2]->setEditing(true);
    click(centreOf(2, table.cells[2]->deleteControlRect()));
    EXPECT_EQ(table.log.filter(QRegularExpression("^(accessory|swipe|tap)")),
              QStringList({"accessory 1", "swipe 2"}));
}

TEST_F(TableViewGestureRecognizerTest, WhileARowOffersDeleteOnlyItsButtonDeletes) {
    table.confirming = IndexPath{0, 4};
    table.cells[4]->setShowsDeleteConfirmation(true);
    click(centreOf(1, table.cells[1]->rect()));
    click(centreOf(4, table.cells[4]->rect().adjusted(0, 0, -200, 0))); // left of the button
    click(centreOf(4, table.cells[4]->deleteButtonRect()));
    EXPECT_EQ(table.log.filter(QRegularExpression("^(hide|delete|tap)")),
              QStringList({"hide", "hide", "delete 4"}));
}

TEST_F(TableViewGestureRecognizerTest, APressBelowTheRowsHighlightsAndTapsNothing) {
    click({50, 5 * FakeTable::kRowPixels + 10});
    EXPECT_TRUE(table.log.isEmpty());
}

} // namespace
