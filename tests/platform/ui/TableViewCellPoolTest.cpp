#include "platform/ui/TableViewCellPool.h"

#include <QPointer>
#include <gtest/gtest.h>

using namespace ui;

namespace {

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
    cell->setShowsDeleteConfirmation(true);
    pool.enqueueReusableCell(cell);
    EXPECT_FALSE(cell->isVisibleTo(&host));

    EXPECT_NE(pool.dequeueReusableCell<TrackingCell>("U"), cell) << "another identifier";
    EXPECT_EQ(pool.dequeueReusableCell<TrackingCell>("T"), cell);
    EXPECT_EQ(cell->prepared, 1);
    EXPECT_FALSE(cell->isSelected());
    EXPECT_FALSE(cell->showsDeleteConfirmation());
}

TEST_F(TableViewCellPoolTest, CellsNoOneCanReuseAreDeleted) {
    QPointer<TableViewCell> other = pool.dequeueReusableCell<OtherCell>("T");
    pool.enqueueReusableCell(other);
    auto* tracking = pool.dequeueReusableCell<TrackingCell>("T");
    EXPECT_EQ(tracking->prepared, 0) << "a new cell";
    EXPECT_TRUE(other.isNull()) << "only a cell of the class asked for is handed out";
    QPointer<TableViewCell> subclass = tracking;
    pool.enqueueReusableCell(tracking);
    TableViewCell* plain = pool.dequeueReusableCell<TableViewCell>("T");
    EXPECT_TRUE(subclass.isNull()) << "nor a subclass of it";
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
    EXPECT_EQ(pool.indexPathForCell(second), (IndexPath{0, 1}));

    asked.clear();
    EXPECT_EQ(pool.keepCellsForRows({{0, 1}, {1, 0}, {1, 1}}, make), (Rows{{1, 1}}));
    EXPECT_EQ(asked, QList<IndexPath>({{1, 1}})) << "only the row that had no cell";
    EXPECT_EQ(pool.cellForRowAtIndexPath({1, 1}), first) << "the cell of the row that left";
    EXPECT_EQ(pool.cellForRowAtIndexPath({0, 1}), second);
    EXPECT_EQ(pool.cellForRowAtIndexPath({0, 0}), nullptr);

    pool.enqueueCellsForRowsIf([](const IndexPath& indexPath) { return indexPath.section == 1; });
    EXPECT_EQ(pool.count(), 2);
    pool.enqueueAllCellsForRows();
    EXPECT_EQ(pool.count(), 3);
}

} // namespace
