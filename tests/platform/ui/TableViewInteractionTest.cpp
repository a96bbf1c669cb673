#include "platform/ui/TableView.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace ui;

namespace {

// Twenty rows in each of two sections; it records what the table tells it.
class Recorder : public TableViewDataSource, public TableViewDelegate {
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
    void SetUp() override {
        table.setDataSource(&recorder);
        table.setDelegate(&recorder);
    }

    Recorder recorder;
    TableView table{{0, 0, 320, 440}, TableViewStyle::Plain};
};

TEST_F(TableViewInteractionTest, ATapSelectsOneRowAndTellsTheDelegate) {
    table.tapRowAtIndexPath({0, 3});
    table.tapRowAtIndexPath({0, 4});
    EXPECT_EQ(recorder.selections, (QList<IndexPath>{{0, 3}, {0, 4}}));
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 4}));
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 3})->isSelected());
    EXPECT_TRUE(table.cellForRowAtIndexPath({0, 4})->isSelected());
    table.deselectRowAtIndexPathAnimated({0, 4}, false);
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 4})->isSelected());

    table.tapAccessoryAtIndexPath({0, 2});
    EXPECT_EQ(recorder.accessoryTaps, (QList<IndexPath>{{0, 2}}));
    // Touches on rows that do not exist are ignored.
    table.tapRowAtIndexPath({0, 99});
    table.tapAccessoryAtIndexPath({5, 0});
    EXPECT_EQ(recorder.selections.size(), 2);
    EXPECT_EQ(recorder.accessoryTaps.size(), 1);
}

TEST_F(TableViewInteractionTest, SelectingARowThatDoesNotExistDeselectsAndSelectingScrolls) {
    table.selectRowAtIndexPathAnimatedScrollPosition({1, 10}, false, TableViewScrollPosition::Top);
    EXPECT_EQ(table.contentOffset().y, table.rectForRowAtIndexPath({1, 10}).y);
    EXPECT_TRUE(table.cellForRowAtIndexPath({1, 10})->isSelected());
    EXPECT_TRUE(recorder.selections.isEmpty()) << "the program's choice, not the user's";
    table.selectRowAtIndexPathAnimatedScrollPosition({1, 99}, false, TableViewScrollPosition::None);
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
    EXPECT_FALSE(table.cellForRowAtIndexPath({1, 10})->isSelected());
}

TEST_F(TableViewInteractionTest, TheSelectedRowFollowsDeletionsAndInsertionsAbove) {
    table.tapRowAtIndexPath({0, 5});
    recorder.rows = 19;
    table.deleteRowsAtIndexPathsWithRowAnimation({{0, 1}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 4}));
    recorder.rows = 21;
    table.insertRowsAtIndexPathsWithRowAnimation({{0, 0}, {0, 1}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 6}));
    table.insertRowsAtIndexPathsWithRowAnimation({{1, 0}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 6})) << "another section";
    recorder.rows = 20;
    table.deleteRowsAtIndexPathsWithRowAnimation({{0, 6}}, TableViewRowAnimation::Fade);
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
    EXPECT_EQ(table.numberOfRowsInSection(0), 20);
}

TEST_F(TableViewInteractionTest, ReloadingForgetsTheSelectionOfTheReloadedSectionsOnly) {
    table.tapRowAtIndexPath({1, 2});
    table.reloadSectionsWithRowAnimation({0}, TableViewRowAnimation::None);
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{1, 2}));
    table.reloadSectionsWithRowAnimation({1}, TableViewRowAnimation::None);
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
    table.tapRowAtIndexPath({0, 1});
    table.reloadData();
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
}

TEST_F(TableViewInteractionTest, SwipingOffersDeleteOnlyOnRowsTheDataSourceLetsDelete) {
    table.swipeToDeleteRowAtIndexPath({0, 1});
    EXPECT_FALSE(table.indexPathShowingDeleteConfirmation().has_value());
    recorder.editable = true;
    recorder.editingStyle = TableViewCellEditingStyle::Insert;
    table.swipeToDeleteRowAtIndexPath({0, 1});
    EXPECT_FALSE(table.indexPathShowingDeleteConfirmation().has_value());

    recorder.editingStyle = TableViewCellEditingStyle::Delete;
    table.swipeToDeleteRowAtIndexPath({0, 1});
    EXPECT_EQ(table.indexPathShowingDeleteConfirmation(), (IndexPath{0, 1}));
    EXPECT_TRUE(table.cellForRowAtIndexPath({0, 1})->showsDeleteConfirmation());
    // A tap elsewhere only takes the Delete button away.
    table.tapRowAtIndexPath({0, 3});
    EXPECT_TRUE(recorder.selections.isEmpty());
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 1})->showsDeleteConfirmation());

    table.swipeToDeleteRowAtIndexPath({0, 2});
    table.swipeToDeleteRowAtIndexPath({0, 4});
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 2})->showsDeleteConfirmation()) << "one at a time";
    table.confirmDeleteAtIndexPath({0, 4});
    EXPECT_EQ(recorder.deletions, (QList<IndexPath>{{0, 4}}));
    EXPECT_FALSE(table.indexPathShowingDeleteConfirmation().has_value());
}

TEST_F(TableViewInteractionTest, EditingShowsDeleteControlsOnEditableRowsAndBlocksSelection) {
    recorder.editable = true;
    table.setEditing(true, false);
    EXPECT_TRUE(table.isEditing());
    EXPECT_TRUE(table.cellForRowAtIndexPath({0, 0})->isEditing());
    EXPECT_EQ(table.cellForRowAtIndexPath({0, 0})->editingStyle(),
              TableViewCellEditingStyle::Delete);
    table.tapRowAtIndexPath({0, 0});
    EXPECT_TRUE(recorder.selections.isEmpty());

    table.setEditing(false, false);
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 0})->isEditing());
    table.tapRowAtIndexPath({0, 0});
    EXPECT_EQ(recorder.selections.size(), 1);
}

TEST_F(TableViewInteractionTest, AFingerHighlightsARowOnlyWhereItCouldSelectIt) {
    table.show();
    const auto press = [this](const IndexPath& row) {
        const Rect rect = table.rectForRowAtIndexPath(row);
        const QPointF at(Screen::px(rect.x + 5), Screen::px(rect.y + rect.height / 2));
        QMouseEvent event(QEvent::MouseButtonPress, at, table.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table.viewport(), &event);
        return table.cellForRowAtIndexPath(row)->isHighlighted();
    };
    EXPECT_TRUE(press({0, 1}));
    table.setAllowsSelection(false);
    EXPECT_FALSE(press({0, 2}));
    table.tapRowAtIndexPath({0, 2});
    EXPECT_TRUE(recorder.selections.isEmpty());

    table.setAllowsSelection(true);
    recorder.editable = true;
    table.setEditing(true, false);
    EXPECT_FALSE(press({0, 3}));
    table.hide();
}

} // namespace
