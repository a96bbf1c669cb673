#include "platform/ui/TableViewCellPool.h"

#include <QPointer>
#include <gtest/gtest.h>

using namespace ui;

namespace {

// A cell that counts the times it was prepared for reuse.
class TrackingCell : public TableViewCell {
public:
    explicit TrackingCell(const QString& identifier) : TableViewCell(identifier) {}
    void prepareForReuse() override {
        TableViewCell::prepareForReuse();
        ++prepared;
    }
    int prepared = 0;
};

class OtherCell : public TableViewCell {
public:
    explicit OtherCell(const QString& identifier) : TableViewCell(identifier) {}
};

class TableViewCellPoolTest : public ::testing::Test {
protected:
    QWidget host;
    TableViewCellPool pool{&host};
};

TEST_F(TableViewCellPoolTest, AnEnqueuedCellIsReusedUnderItsIdentifierAfterItsPreparation) {
    auto* cell = pool.dequeueReusableCell<TrackingCell>("T");
    cell->show();
    cell->setSelected(true);
    cell->setHighlighted(true);
    cell->setShowsDeleteConfirmation(true);
    pool.enqueueReusableCell(cell);
    EXPECT_EQ(pool.count(), 1);
    EXPECT_FALSE(cell->isVisibleTo(&host));

    EXPECT_NE(pool.dequeueReusableCell<TrackingCell>("U"), cell) << "another identifier";
    EXPECT_EQ(pool.dequeueReusableCell<TrackingCell>("T"), cell);
    EXPECT_EQ(pool.count(), 0);
    EXPECT_EQ(cell->prepared, 1);
    EXPECT_FALSE(cell->isSelected());
    EXPECT_FALSE(cell->isHighlighted());
    EXPECT_FALSE(cell->showsDeleteConfirmation());
}

// Cells without an identifier are tested with the table (TableViewTest).
TEST_F(TableViewCellPoolTest, CellsNoOneCanReuseAreDeleted) {
    QPointer<TableViewCell> other = pool.dequeueReusableCell<OtherCell>("T");
    pool.enqueueReusableCell(other);
    auto* tracking = pool.dequeueReusableCell<TrackingCell>("T");
    EXPECT_EQ(tracking->prepared, 0) << "a new cell";
    EXPECT_TRUE(other.isNull()) << "only a cell of the class asked for is handed out";
    EXPECT_EQ(pool.count(), 0);

    // A subclass is not the class asked for either.
    QPointer<TableViewCell> subclass = tracking;
    pool.enqueueReusableCell(tracking);
    TableViewCell* plain = pool.dequeueReusableCell<TableViewCell>("T");
    EXPECT_TRUE(subclass.isNull());
    EXPECT_EQ(typeid(*plain), typeid(TableViewCell));
}

TEST_F(TableViewCellPoolTest, CellsStayOnScreenForTheRowsKeptAndGoBackForTheOthers) {
    QList<IndexPath> asked;
    const auto make = [&](const IndexPath& indexPath) {
        asked.append(indexPath);
        return pool.dequeueReusableCell<TrackingCell>("Row");
    };
    using Rows = std::vector<IndexPath>;
    EXPECT_EQ(pool.keepCellsForRows({{0, 0}, {0, 1}, {1, 0}}, make),
              (Rows{{0, 0}, {0, 1}, {1, 0}}));
    TableViewCell* first = pool.cellForRowAtIndexPath({0, 0});
    TableViewCell* second = pool.cellForRowAtIndexPath({0, 1});
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(pool.indexPathForCell(second), (IndexPath{0, 1}));

    asked.clear();
    EXPECT_EQ(pool.keepCellsForRows({{0, 1}, {1, 0}, {1, 1}}, make), (Rows{{1, 1}}));
    EXPECT_EQ(asked, QList<IndexPath>({{1, 1}})) << "only the row that had no cell";
    EXPECT_EQ(pool.cellForRowAtIndexPath({1, 1}), first) << "the cell of the row that left";
    EXPECT_EQ(pool.cellForRowAtIndexPath({0, 1}), second);
    EXPECT_EQ(pool.cellForRowAtIndexPath({0, 0}), nullptr);
    EXPECT_FALSE(pool.indexPathForCell(nullptr));

    pool.enqueueCellsForRowsIf([](const IndexPath& indexPath) { return indexPath.section == 1; });
    EXPECT_EQ(pool.cellsOnScreen().size(), 1u);
    EXPECT_EQ(pool.count(), 2);
    pool.enqueueAllCellsForRows();
    EXPECT_TRUE(pool.cellsOnScreen().empty());
    EXPECT_EQ(pool.count(), 3);
}

} // namespace
