#include "platform/ui/TableView.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

#include <QPointer>

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
    double tableViewHeightForRowAtIndexPath(TableView* table, const IndexPath& indexPath) override {
        return height ? height(indexPath)
                      : TableViewDelegate::tableViewHeightForRowAtIndexPath(table, indexPath);
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

TEST(TableView, RowsStartBelowTheirHeaderAndGroupedRowsAreInset) {
    struct Titled : CountingSource {
        QString tableViewTitleForHeaderInSection(TableView*, int section) override {
            return section == 0 ? "First" : QString();
        }
    } source;
    source.sections = 2;
    source.rows = 2;
    TableView plain({0, 0, 320, 480}, TableViewStyle::Plain);
    plain.setDataSource(&source);
    EXPECT_EQ(plain.rectForRowAtIndexPath({0, 0}), (Rect{0, 22, 320, 44}));
    EXPECT_EQ(plain.titleForHeaderInSection(0), "First");

    TableView grouped({0, 0, 320, 480}, TableViewStyle::Grouped);
    grouped.setDataSource(&source);
    EXPECT_EQ(grouped.rectForRowAtIndexPath({0, 0}), (Rect{10, 46, 300, 44}));
    EXPECT_EQ(grouped.rectForHeaderInSection(2), Rect{});
}

namespace {

// Rows whose cells have no reuse identifier: the table cannot reuse them.
class OneOffCells : public TableViewDataSource {
public:
    QList<QPointer<TableViewCell>> made;

    int tableViewNumberOfRowsInSection(TableView*, int) override { return 30; }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView*, const IndexPath& p) override {
        auto* cell = new TableViewCell(QString());
        cell->textLabel()->setText(QString("Row %1").arg(p.row));
        made.append(cell);
        return cell;
    }
};

int livingCells(const QList<QPointer<TableViewCell>>& cells) {
    return static_cast<int>(
        std::count_if(cells.begin(), cells.end(), [](const auto& cell) { return !cell.isNull(); }));
}

} // namespace

TEST(TableView, OwnsTheCellsItIsGivenAndDeletesThoseItCannotReuseWhenTheyLeave) {
    OneOffCells source;
    TableView table({0, 0, 320, 88}, TableViewStyle::Plain);
    table.setDataSource(&source);
    table.show();
    ASSERT_EQ(table.visibleCells().size(), 2);
    EXPECT_EQ(source.made.first()->parentWidget(), table.viewport());

    table.setContentOffset({0, 44 * 10});
    EXPECT_EQ(livingCells(source.made), 2) << "only the rows on screen have cells";
    EXPECT_EQ(table.reusableCellCount(), 0);

    // Reading a row off screen makes its cell and lets it go.
    EXPECT_EQ(table.rowTexts({0, 25}), QStringList({"Row 25"}));
    EXPECT_EQ(livingCells(source.made), 2);
    table.reloadData();
    EXPECT_EQ(livingCells(source.made), 2);
    table.hide();
}

TEST(TableView, ARowWithoutACellFromItsDataSourceShowsNothing) {
    struct NoCells : TableViewDataSource {
        int tableViewNumberOfRowsInSection(TableView*, int) override { return 2; }
        TableViewCell* tableViewCellForRowAtIndexPath(TableView*, const IndexPath&) override {
            return nullptr;
        }
    } source;
    TableView table({0, 0, 320, 88}, TableViewStyle::Plain);
    table.setDataSource(&source);
    EXPECT_EQ(table.visibleCells().size(), 2);
    EXPECT_EQ(table.renderText(), "--\n\n\n");
}
