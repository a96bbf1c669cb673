#include "platform/ui/TableView.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

#include <QSet>

#include <functional>

using namespace ui;

namespace {

// A Value1 cell that counts how many of its kind were made.
class CountedCell : public TableViewCell {
public:
    CountedCell(int* made, const QString& identifier)
        : TableViewCell(TableViewCellStyle::Value1, identifier) {
        ++*made;
    }
};

// A data source of numbered rows that counts the cells it has to make.
class CountingSource : public TableViewDataSource, public TableViewDelegate {
public:
    int sections = 1;
    int rows = 10000;
    int cellsCreated = 0;
    int cellsAsked = 0;
    std::function<double(const IndexPath&)> height;
    QList<IndexPath> selections;
    QList<IndexPath> accessoryTaps;
    QList<IndexPath> deletions;
    bool editable = false;

    int numberOfSectionsInTableView(TableView*) override { return sections; }
    int tableViewNumberOfRowsInSection(TableView*, int) override { return rows; }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* table,
                                                  const IndexPath& indexPath) override {
        ++cellsAsked;
        auto* cell = table->dequeueReusableCell<CountedCell>("Row", &cellsCreated);
        cell->textLabel()->setText(QString("Row %1").arg(indexPath.row));
        cell->detailTextLabel()->setText(QString::number(indexPath.section));
        return cell;
    }
    bool tableViewCanEditRowAtIndexPath(TableView*, const IndexPath&) override { return editable; }
    void tableViewCommitEditingStyleForRowAtIndexPath(TableView*, TableViewCellEditingStyle style,
                                                      const IndexPath& indexPath) override {
        if (style == TableViewCellEditingStyle::Delete) {
            deletions.append(indexPath);
        }
    }
    double tableViewHeightForRowAtIndexPath(TableView* table, const IndexPath& indexPath) override {
        return height ? height(indexPath)
                      : TableViewDelegate::tableViewHeightForRowAtIndexPath(table, indexPath);
    }
    void tableViewDidSelectRowAtIndexPath(TableView*, const IndexPath& indexPath) override {
        selections.append(indexPath);
    }
    void tableViewAccessoryButtonTappedForRowWithIndexPath(TableView*,
                                                           const IndexPath& indexPath) override {
        accessoryTaps.append(indexPath);
    }
};

int countCellWidgets(TableView& table) {
    return static_cast<int>(
        table.viewport()->findChildren<TableViewCell*>(Qt::FindDirectChildrenOnly).size());
}

} // namespace

TEST(TableView, TenThousandRowsMakeCellsOnlyForTheScreenfulAndReuseThem) {
    CountingSource source;
    TableView table({0, 0, 320, 440}, TableViewStyle::Plain);
    table.setDataSource(&source);
    table.setDelegate(&source);
    table.show();

    // 440 / 44 = 10 rows on screen.
    EXPECT_EQ(table.visibleCells().size(), 10);
    EXPECT_EQ(table.contentSize().height, 10000 * 44.0);
    const int firstScreen = source.cellsCreated;
    EXPECT_LE(firstScreen, 11);

    // Scroll through the whole table a bit at a time, then back to the top.
    for (double y = 0; y <= table.contentSize().height; y += 130) {
        table.setContentOffset({0, y});
    }
    table.setContentOffset({0, table.contentSize().height});
    const QList<IndexPath> atEnd = table.indexPathsForVisibleRows();
    ASSERT_FALSE(atEnd.isEmpty());
    EXPECT_EQ(atEnd.last(), (IndexPath{0, 9999}));
    table.setContentOffset({0, 0});
    EXPECT_EQ(table.indexPathsForVisibleRows().first(), (IndexPath{0, 0}));

    EXPECT_LE(source.cellsCreated, 12);
    EXPECT_GT(source.cellsAsked, 9000);
    EXPECT_LE(countCellWidgets(table), 12);
    EXPECT_EQ(table.cellForRowAtIndexPath({0, 0})->textLabel()->text(), "Row 0");
    EXPECT_EQ(table.cellForRowAtIndexPath({0, 5000}), nullptr);
}

TEST(TableView, HiddenTableDoesNotAskItsDataSourceUntilQueried) {
    CountingSource source;
    TableView table({0, 0, 320, 440}, TableViewStyle::Plain);
    table.setDataSource(&source);
    EXPECT_EQ(source.cellsAsked, 0);
    EXPECT_EQ(table.visibleCells().size(), 10);
}

TEST(TableView, VariableRowHeightsGiveRowRectsAndVisibleRows) {
    CountingSource source;
    source.sections = 2;
    source.rows = 100;
    // Section 0: rows alternate 30 and 60 points; section 1: 100 points.
    source.height = [](const IndexPath& p) {
        return p.section == 0 ? (p.row % 2 == 0 ? 30.0 : 60.0) : 100.0;
    };
    TableView table({0, 0, 320, 200}, TableViewStyle::Plain);
    table.setDataSource(&source);
    table.setDelegate(&source);

    EXPECT_EQ(table.rectForRowAtIndexPath({0, 0}), (Rect{0, 0, 320, 30}));
    EXPECT_EQ(table.rectForRowAtIndexPath({0, 1}), (Rect{0, 30, 320, 60}));
    EXPECT_EQ(table.rectForRowAtIndexPath({0, 3}), (Rect{0, 120, 320, 60}));
    // Section 1 starts after 50 × 90 points of section 0 (no header titles: no headers).
    EXPECT_EQ(table.rectForRowAtIndexPath({1, 2}), (Rect{0, 4500 + 200, 320, 100}));
    EXPECT_EQ(table.contentSize().height, 4500 + 100 * 100.0);
    EXPECT_EQ(table.rectForRowAtIndexPath({2, 0}), Rect{});

    // Rows 0..4 cover 0..210, so 200 points show rows 0 to 4.
    QList<IndexPath> expected;
    for (int r = 0; r < 5; ++r) {
        expected.append({0, r});
    }
    EXPECT_EQ(table.indexPathsForVisibleRows(), expected);

    table.scrollToRowAtIndexPathAtScrollPositionAnimated({1, 0}, TableViewScrollPosition::Top,
                                                         false);
    EXPECT_EQ(table.contentOffset().y, 4500);
    EXPECT_EQ(table.indexPathsForVisibleRows().first(), (IndexPath{1, 0}));
    EXPECT_EQ(table.indexPathForRowAtPoint({5, 4500 + 150}), (IndexPath{1, 1}));
}

TEST(TableView, HeadersTakeTheirHeightFromTheTitle) {
    struct Titled : CountingSource {
        QString tableViewTitleForHeaderInSection(TableView*, int section) override {
            return section == 0 ? "First" : QString();
        }
    } source;
    source.sections = 2;
    source.rows = 2;
    TableView plain({0, 0, 320, 480}, TableViewStyle::Plain);
    plain.setDataSource(&source);
    EXPECT_EQ(plain.rectForHeaderInSection(0).height, 22);
    EXPECT_EQ(plain.rectForRowAtIndexPath({0, 0}).y, 22);
    EXPECT_EQ(plain.rectForHeaderInSection(1).height, 0);

    TableView grouped({0, 0, 320, 480}, TableViewStyle::Grouped);
    grouped.setDataSource(&source);
    // Grouped rows are inset from both sides.
    EXPECT_EQ(grouped.rectForRowAtIndexPath({0, 0}).x, 10);
    EXPECT_EQ(grouped.rectForRowAtIndexPath({0, 0}).width, 300);
    EXPECT_GT(grouped.rectForHeaderInSection(0).height, grouped.rectForHeaderInSection(1).height);
}

namespace {

// A cell with its own labels placed out of creation order, one of them hidden.
class TwoLineCell : public TableViewCell {
public:
    explicit TwoLineCell(const QString& identifier) : TableViewCell(identifier) {
        right = new Label(contentView());
        bottom = new Label(contentView());
        left = new Label(contentView());
        hidden = new Label(contentView());
        hidden->setText("never shown");
        hidden->hide();
    }
    void layoutSubviews() override {
        TableViewCell::layoutSubviews();
        setFrame(left, {10, 2, 150, 20});
        setFrame(right, {170, 2, 100, 20});
        setFrame(bottom, {10, 24, 260, 18});
        setFrame(hidden, {0, 0, 50, 10});
    }
    Label* left;
    Label* right;
    Label* bottom;
    Label* hidden;
};

class GroupedSource : public TableViewDataSource {
public:
    int numberOfSectionsInTableView(TableView*) override { return 3; }
    int tableViewNumberOfRowsInSection(TableView*, int section) override {
        return section == 2 ? 30 : 2;
    }
    QString tableViewTitleForHeaderInSection(TableView*, int section) override {
        return section == 0 ? "Hardware" : section == 2 ? "Many" : QString();
    }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* table, const IndexPath& p) override {
        if (p.section == 1) {
            auto* cell = table->dequeueReusableCell<TwoLineCell>("TwoLine");
            cell->left->setText(QString("Left %1").arg(p.row));
            cell->right->setText(QString("Right %1").arg(p.row));
            cell->bottom->setText(p.row == 0 ? QString("Bottom") : QString());
            return cell;
        }
        auto* cell =
            table->dequeueReusableCell<TableViewCell>("Value1", TableViewCellStyle::Value1);
        cell->textLabel()->setText(QString("Name %1.%2").arg(p.section).arg(p.row));
        cell->detailTextLabel()->setText(QString("Value %1").arg(p.row));
        return cell;
    }
};

} // namespace

TEST(TableView, RenderTextListsEverySectionAndRowInReadingOrder) {
    GroupedSource source;
    TableView table({0, 0, 320, 200}, TableViewStyle::Grouped);
    table.setDataSource(&source);
    const QString text = table.renderText();
    const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3 + 2 + 2 + 30);
    EXPECT_EQ(lines[0], "-- Hardware");
    EXPECT_EQ(lines[1], "Name 0.0\tValue 0");
    EXPECT_EQ(lines[2], "Name 0.1\tValue 1");
    EXPECT_EQ(lines[3], "--");
    // Top edge first, then left edge; the hidden and the empty labels are left out.
    EXPECT_EQ(lines[4], "Left 0\tRight 0\tBottom");
    EXPECT_EQ(lines[5], "Left 1\tRight 1");
    EXPECT_EQ(lines[6], "-- Many");
    EXPECT_EQ(lines.last(), "Name 2.29\tValue 29");
    // Rows off screen went through the reuse pool instead of piling up cells.
    EXPECT_LE(table.viewport()->findChildren<TableViewCell*>().size(), 10);
    EXPECT_EQ(table.rowTexts({2, 7}), QStringList({"Name 2.7", "Value 7"}));
}

TEST(TableView, TapSelectsOneRowAndTellsTheDelegate) {
    CountingSource source;
    source.rows = 20;
    TableView table({0, 0, 320, 440}, TableViewStyle::Plain);
    table.setDataSource(&source);
    table.setDelegate(&source);
    table.tapRowAtIndexPath({0, 3});
    table.tapRowAtIndexPath({0, 4});
    EXPECT_EQ(source.selections, (QList<IndexPath>{{0, 3}, {0, 4}}));
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 4}));
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 3})->isSelected());
    EXPECT_TRUE(table.cellForRowAtIndexPath({0, 4})->isSelected());
    table.deselectRowAtIndexPathAnimated({0, 4}, false);
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 4})->isSelected());

    table.tapAccessoryAtIndexPath({0, 2});
    EXPECT_EQ(source.accessoryTaps, (QList<IndexPath>{{0, 2}}));
    // Out-of-range touches are ignored.
    table.tapRowAtIndexPath({0, 99});
    EXPECT_EQ(source.selections.size(), 2);
}

TEST(TableView, SelectedRowFollowsDeletionsAndInsertionsAbove) {
    CountingSource source;
    source.rows = 20;
    TableView table({0, 0, 320, 440}, TableViewStyle::Plain);
    table.setDataSource(&source);
    table.tapRowAtIndexPath({0, 5});
    source.rows = 19;
    table.deleteRowsAtIndexPathsWithRowAnimation({{0, 1}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 4}));
    source.rows = 21;
    table.insertRowsAtIndexPathsWithRowAnimation({{0, 0}, {0, 1}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(table.indexPathForSelectedRow(), (IndexPath{0, 6}));
    source.rows = 20;
    table.deleteRowsAtIndexPathsWithRowAnimation({{0, 6}}, TableViewRowAnimation::Fade);
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
    EXPECT_EQ(table.numberOfRowsInSection(0), 20);
}

TEST(TableView, SwipeShowsDeleteAndConfirmingCommitsOnlyForEditableRows) {
    CountingSource source;
    source.rows = 5;
    TableView table({0, 0, 320, 440}, TableViewStyle::Plain);
    table.setDataSource(&source);
    table.setDelegate(&source);

    table.swipeToDeleteRowAtIndexPath({0, 1});
    EXPECT_FALSE(table.indexPathShowingDeleteConfirmation().has_value());

    source.editable = true;
    table.swipeToDeleteRowAtIndexPath({0, 1});
    EXPECT_EQ(table.indexPathShowingDeleteConfirmation(), (IndexPath{0, 1}));
    EXPECT_TRUE(table.cellForRowAtIndexPath({0, 1})->showsDeleteConfirmation());
    // A tap elsewhere only takes the Delete button away.
    table.tapRowAtIndexPath({0, 3});
    EXPECT_TRUE(source.selections.isEmpty());
    EXPECT_FALSE(table.cellForRowAtIndexPath({0, 1})->showsDeleteConfirmation());

    table.swipeToDeleteRowAtIndexPath({0, 2});
    table.confirmDeleteAtIndexPath({0, 2});
    EXPECT_EQ(source.deletions, (QList<IndexPath>{{0, 2}}));
    EXPECT_FALSE(table.indexPathShowingDeleteConfirmation().has_value());
}
