#include "platform/ui/TableView.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <algorithm>

using namespace ui;

namespace {

class CountedCell : public TableViewCell {
public:
    CountedCell(int* made, const QString& identifier)
        : TableViewCell(TableViewCellStyle::Value1, identifier) {
        ++*made;
    }
};

// Ten thousand numbered rows; it counts the cells it is asked for and has to make.
class CountingSource : public TableViewDataSource {
public:
    int cellsCreated = 0;
    int cellsAsked = 0;

    int tableViewNumberOfRowsInSection(TableView*, int) override { return 10000; }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* table, const IndexPath& p) override {
        ++cellsAsked;
        auto* cell = table->dequeueReusableCell<CountedCell>("Row", &cellsCreated);
        cell->textLabel()->setText(QString("Row %1").arg(p.row));
        return cell;
    }
};

} // namespace

TEST(TableView, TenThousandRowsMakeCellsOnlyForTheScreenfulAndReuseThem) {
    CountingSource source;
    TableView table({0, 0, 320, 440}, TableViewStyle::Plain);
    table.setDataSource(&source);
    EXPECT_EQ(source.cellsAsked, 0) << "a hidden table asks once shown or queried";
    table.show();
    for (double y = 0; y <= table.contentSize().height; y += 130) {
        table.setContentOffset({0, y});
    }
    table.setContentOffset({0, 1e6});
    EXPECT_NEAR(table.contentOffset().y, 10000 * 44.0 - 440, 1) << "no further than the end";
    EXPECT_EQ(table.indexPathsForVisibleRows().last(), (IndexPath{0, 9999}));
    EXPECT_EQ(table.cellForRowAtIndexPath({0, 5000}), nullptr);

    EXPECT_GT(source.cellsAsked, 9000);
    EXPECT_LE(source.cellsCreated, 12);
}

namespace {

// Section 0 "First", rows of 30 and 60 points in turn; section 1 untitled and empty;
// section 2 untitled with a 30-point header view from the delegate, rows of 100 points.
class Shaped : public TableViewDataSource, public TableViewDelegate {
public:
    int numberOfSectionsInTableView(TableView*) override { return 3; }
    int tableViewNumberOfRowsInSection(TableView*, int section) override {
        return QList<int>{4, 0, 3}[section];
    }
    QString tableViewTitleForHeaderInSection(TableView*, int section) override {
        return section == 0 ? "First" : QString();
    }
    TableViewCell* tableViewCellForRowAtIndexPath(TableView* table, const IndexPath&) override {
        return table->dequeueReusableCell<TableViewCell>("Row");
    }
    double tableViewHeightForRowAtIndexPath(TableView*, const IndexPath& p) override {
        return p.section == 0 ? (p.row % 2 == 0 ? 30.0 : 60.0) : 100.0;
    }
    QWidget* tableViewViewForHeaderInSection(TableView*, int section) override {
        if (section != 2) {
            return nullptr;
        }
        auto* header = new QWidget;
        setFrame(header, {0, 0, 320, 30});
        return header;
    }
};

} // namespace

TEST(TableView, HeightsTitlesAndHeaderViewsPlaceTheRowsAndEmptySectionsTakeNoRoom) {
    Shaped source;
    TableView grouped({0, 0, 320, 480}, TableViewStyle::Grouped);
    auto* top = new QWidget;
    setFrame(top, {0, 0, 320, 50});
    grouped.setTableHeaderView(top);
    grouped.setDataSource(&source);
    grouped.setDelegate(&source);
    // Inset rows below the table header view and a 46-point titled header; section 0's
    // rows take 180 points and a gap follows; the empty untitled section takes nothing,
    // not even its gaps; then the delegate's 30-point header view.
    EXPECT_EQ(grouped.rectForRowAtIndexPath({0, 1}), (Rect{10, 50 + 46 + 30, 300, 60}));
    EXPECT_EQ(grouped.rectForHeaderInSection(2), (Rect{0, 50 + 46 + 180 + 10, 320, 30}));
    EXPECT_EQ(grouped.rectForRowAtIndexPath({2, 0}).y, 316);
    EXPECT_EQ(grouped.contentSize().height, 316 + 300 + 10);
    EXPECT_EQ(grouped.rectForRowAtIndexPath({1, 0}), Rect{});
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
    int living() const {
        return static_cast<int>(std::count_if(made.begin(), made.end(),
                                              [](const auto& cell) { return !cell.isNull(); }));
    }
};

} // namespace

TEST(TableView, OwnsTheCellsItIsGivenAndDeletesThoseItCannotReuseWhenTheyLeave) {
    OneOffCells source;
    TableView table({0, 0, 320, 88}, TableViewStyle::Plain);
    table.setDataSource(&source);
    table.show();
    ASSERT_EQ(table.visibleCells().size(), 2);
    table.setContentOffset({0, 44 * 10});
    EXPECT_EQ(source.living(), 2) << "only the rows on screen have cells";
    // Reading a row off screen makes its cell and lets it go.
    EXPECT_EQ(table.rowTexts({0, 25}), QStringList({"Row 25"}));
    table.reloadData();
    EXPECT_EQ(source.living(), 2);
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
