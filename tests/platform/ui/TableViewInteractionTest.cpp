#include "Events.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewController.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

// Two sections of twenty rows, a detail button on each sixth; it records what it hears.
class Recorder : public TableViewController {
public:
    int rows = 20;
    bool editable = false;
    TableViewCellEditingStyle editingStyle = TableViewCellEditingStyle::Delete;
    QList<IndexPath> selections;
    QList<IndexPath> accessoryTaps;
    QList<IndexPath> deletions;

    int numberOfSectionsInTableView(TableView*) override { return 2; }
    int tableViewNumberOfRowsInSection(TableView*, int) override { return rows; }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* table, const IndexPath& p) override {
        auto* cell = table->dequeueReusableCell<TableViewCell>("Row");
        cell->textLabel()->setText(QString("Row %1.%2").arg(p.section).arg(p.row));
        cell->setAccessoryType(p.row == 5 ? TableViewCellAccessoryType::DetailDisclosureButton
                                          : TableViewCellAccessoryType::None);
        return cell;
    }
    bool tableViewCanEditRowAtIndexPath(TableView*, const IndexPath&) override { return editable; }
    TableViewCellEditingStyle tableViewEditingStyleForRowAtIndexPath(TableView*,
                                                                     const IndexPath&) override {
        return editingStyle;
    }
    void tableViewCommitEditingStyleForRowAtIndexPath(TableView*, TableViewCellEditingStyle style,
                                                      const IndexPath& indexPath) override {
        if (style == TableViewCellEditingStyle::Delete) {
            deletions.append(indexPath);
        }
    }
    void tableViewDidSelectRowAtIndexPath(TableView*, const IndexPath& indexPath) override {
        selections.append(indexPath);
    }
    void tableViewAccessoryButtonTappedForRowWithIndexPath(TableView*,
                                                           const IndexPath& indexPath) override {
        accessoryTaps.append(indexPath);
    }
};

class TableViewInteractionTest : public ::testing::Test {
protected:
    void SetUp() override { setFrame(table, {0, 0, 320, 440}); }

    void mouse(QEvent::Type type, QPoint at) { ::mouse(table->viewport(), type, at); }
    void drag(QPoint from, QPoint by) {
        mouse(QEvent::MouseButtonPress, from);
        mouse(QEvent::MouseMove, from + by / 3);
        mouse(QEvent::MouseMove, from + by);
        mouse(QEvent::MouseButtonRelease, from + by);
    }
    void click(QPoint at) { drag(at, {}); }
    QPoint rowCentre(const IndexPath& p) {
        const Rect row = table->rectForRowAtIndexPath(p);
        return QPoint(Screen::px(row.x + row.width / 3),
                      Screen::px(row.y + row.height / 2 - table->contentOffset().y));
    }
    QPoint partCentre(const IndexPath& p, QRect (TableViewCell::*part)() const) {
        TableViewCell* cell = table->cellForRowAtIndexPath(p);
        return cell->geometry().topLeft() + (cell->*part)().center();
    }

    Recorder recorder;
    TableView* table = recorder.tableView();
};

TEST_F(TableViewInteractionTest, ATapSelectsOneRowAndTellsTheDelegate) {
    table->tapRowAtIndexPath({0, 3});
    table->tapRowAtIndexPath({0, 4});
    EXPECT_EQ(recorder.selections, (QList<IndexPath>{{0, 3}, {0, 4}}));
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 3})->isSelected());
    table->deselectRowAtIndexPathAnimated({0, 4}, false);
    EXPECT_FALSE(table->indexPathForSelectedRow().has_value());
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 4})->isSelected());

    table->tapRowAtIndexPath({0, 99}); // no such row
    table->tapAccessoryAtIndexPath({5, 0});
    EXPECT_EQ(recorder.selections.size(), 2);
    EXPECT_TRUE(recorder.accessoryTaps.isEmpty());
}

TEST_F(TableViewInteractionTest, SelectingARowThatDoesNotExistDeselectsAndSelectingScrolls) {
    table->selectRowAtIndexPathAnimatedScrollPosition({1, 10}, false, TableViewScrollPosition::Top);
    EXPECT_EQ(table->contentOffset().y, table->rectForRowAtIndexPath({1, 10}).y);
    EXPECT_TRUE(table->cellForRowAtIndexPath({1, 10})->isSelected());
    EXPECT_TRUE(recorder.selections.isEmpty()) << "the program's choice, not the user's";
    table->selectRowAtIndexPathAnimatedScrollPosition({1, 99}, false,
                                                      TableViewScrollPosition::None);
    EXPECT_FALSE(table->indexPathForSelectedRow().has_value());
    EXPECT_FALSE(table->cellForRowAtIndexPath({1, 10})->isSelected());
}

TEST_F(TableViewInteractionTest, TheSelectionFollowsRowsMovedAboveItAndGoesWithItsData) {
    table->tapRowAtIndexPath({0, 5});
    recorder.rows = 19;
    table->deleteRowsAtIndexPathsWithRowAnimation({{0, 1}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 4}));
    recorder.rows = 21;
    table->insertRowsAtIndexPathsWithRowAnimation({{0, 0}, {0, 1}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 6}));
    table->insertRowsAtIndexPathsWithRowAnimation({{1, 0}},
                                                  TableViewRowAnimation::Fade); // elsewhere
    table->reloadSectionsWithRowAnimation({1}, TableViewRowAnimation::None);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 6}));
    recorder.rows = 20;
    table->deleteRowsAtIndexPathsWithRowAnimation({{0, 6}}, TableViewRowAnimation::Fade);
    EXPECT_FALSE(table->indexPathForSelectedRow().has_value());

    table->tapRowAtIndexPath({1, 2});
    table->reloadData();
    EXPECT_FALSE(table->indexPathForSelectedRow().has_value());
}

TEST_F(TableViewInteractionTest, SwipingOffersDeleteOnlyOnRowsTheDataSourceLetsDelete) {
    for (const bool editable : {false, true}) {
        recorder.editable = editable;
        recorder.editingStyle = TableViewCellEditingStyle::Insert;
        table->swipeToDeleteRowAtIndexPath({0, 1});
        EXPECT_FALSE(table->indexPathShowingDeleteConfirmation().has_value());
    }

    recorder.editingStyle = TableViewCellEditingStyle::Delete;
    table->swipeToDeleteRowAtIndexPath({0, 1});
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 1})->showsDeleteConfirmation());
    table->tapRowAtIndexPath({0, 3}); // only takes the Delete button away
    EXPECT_TRUE(recorder.selections.isEmpty());
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 1})->showsDeleteConfirmation());

    table->swipeToDeleteRowAtIndexPath({0, 2});
    table->swipeToDeleteRowAtIndexPath({0, 4});
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 2})->showsDeleteConfirmation())
        << "one at a time";
    table->confirmDeleteAtIndexPath({0, 4});
    EXPECT_EQ(recorder.deletions, (QList<IndexPath>{{0, 4}}));
    EXPECT_FALSE(table->indexPathShowingDeleteConfirmation().has_value());
}

TEST_F(TableViewInteractionTest, EditingShowsDeleteControlsAndBlocksSelectionAndHighlight) {
    table->show();
    // Whether a click's press highlights the row; the click goes on to tap it.
    const auto pressHighlights = [this](const IndexPath& row) {
        mouse(QEvent::MouseButtonPress, rowCentre(row));
        const bool highlighted = table->cellForRowAtIndexPath(row)->isHighlighted();
        mouse(QEvent::MouseButtonRelease, rowCentre(row));
        return highlighted;
    };
    EXPECT_TRUE(pressHighlights({0, 1}));
    recorder.editable = true;
    recorder.setEditingAnimated(true, false);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0})->editingStyle(),
              TableViewCellEditingStyle::Delete);
    EXPECT_FALSE(pressHighlights({0, 2}));
    recorder.setEditingAnimated(false, false);

    table->setAllowsSelection(false);
    EXPECT_FALSE(pressHighlights({0, 3}));
    EXPECT_EQ(recorder.selections, (QList<IndexPath>{{0, 1}}));
}

// End to end; the gesture rules themselves are the recognizer's test.
TEST_F(TableViewInteractionTest, TheTablesMouseAndWheelReachTheScreenThroughTheRecognizer) {
    table->show();
    wheel(table->viewport(), {}, {0, -120});
    EXPECT_NEAR(table->contentOffset().y, 66, 1);
    const QPoint start = rowCentre({0, 4});
    mouse(QEvent::MouseButtonPress, start);
    mouse(QEvent::MouseMove, start - QPoint(0, Screen::px(34)));
    mouse(QEvent::MouseButtonRelease, start - QPoint(0, Screen::px(34)));
    EXPECT_NEAR(table->contentOffset().y, 100, 1);
    EXPECT_TRUE(recorder.selections.isEmpty());

    click(rowCentre({0, 3}));
    click(partCentre({0, 5}, &TableViewCell::accessoryRect));
    EXPECT_EQ(recorder.selections, QList<IndexPath>({{0, 3}}));
    EXPECT_EQ(recorder.accessoryTaps, QList<IndexPath>({{0, 5}}));

    recorder.editable = true;
    drag(rowCentre({0, 6}), {Screen::px(60), 0});
    ASSERT_EQ(table->indexPathShowingDeleteConfirmation(), (IndexPath{0, 6}));
    click(partCentre({0, 6}, &TableViewCell::deleteButtonRect));
    EXPECT_EQ(recorder.deletions, QList<IndexPath>({{0, 6}}));
}

TEST(TableViewController, ComingBackDeselectsTheRowEvenWhenTheScreenOverridesWillAppear) {
    struct Overriding : Recorder {
        void viewWillAppear(bool) override { ++appearances; }
        int appearances = 0;
    };
    auto* screen = new Overriding;
    NavigationController navigation(screen);
    Window window;
    window.setRootViewController(&navigation);
    window.makeKeyAndVisible();
    screen->tableView()->tapRowAtIndexPath({0, 2});
    navigation.pushViewControllerAnimated(new ViewController, false);
    EXPECT_TRUE(screen->tableView()->indexPathForSelectedRow().has_value());
    navigation.popViewControllerAnimated(false);
    EXPECT_FALSE(screen->tableView()->indexPathForSelectedRow().has_value());
    EXPECT_EQ(screen->appearances, 2);
    window.setRootView(nullptr);
}

} // namespace
