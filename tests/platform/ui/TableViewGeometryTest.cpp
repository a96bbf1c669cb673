#include "platform/ui/TableViewGeometry.h"

#include <gtest/gtest.h>

using namespace ui;
using Span = TableViewGeometry::Span;

namespace {

// A 50-point table header view; section 0: a 22-point header and rows of 44 and 30;
// section 1 empty, taking no room; section 2: a 10-point header, one 20-point row and
// a 10-point footer; a 5-point table footer view.
TableViewGeometry threeSections() {
    TableViewGeometry geometry;
    geometry.reset(50, 5);
    geometry.appendSection(22, {44, 30}, 0);
    geometry.appendSection(0, {}, 0);
    geometry.appendSection(10, {20}, 10);
    return geometry;
}

// Where each row and header lies the tests below show through the rows found at a line;
// the table's own test places them.
TEST(TableViewGeometry, RowsAndSectionsThatDoNotExistHaveNoRoom) {
    const TableViewGeometry geometry = threeSections();
    EXPECT_EQ(geometry.contentHeight(), 156 + 20 + 10 + 5) << "the footers count";
    EXPECT_EQ(geometry.numberOfRowsInSection(1), 0);
    EXPECT_EQ(geometry.numberOfRowsInSection(3), 0);
    EXPECT_EQ(geometry.numberOfRowsInSection(-1), 0);
    EXPECT_FALSE(geometry.contains({0, 2}));
    EXPECT_FALSE(geometry.contains({1, 0}));
    EXPECT_FALSE(geometry.contains({0, -1}));
    EXPECT_EQ(geometry.rowSpan({1, 0}), Span{});
    EXPECT_EQ(geometry.headerSpan(7), Span{});

    TableViewGeometry empty;
    empty.reset(0, 0);
    EXPECT_EQ(empty.contentHeight(), 0);
    EXPECT_FALSE(empty.indexPathForRowAtY(0));
    EXPECT_TRUE(empty.indexPathsForRowsBetween(0, 480).empty());
}

TEST(TableViewGeometry, ARowOwnsItsTopEdgeAndTheNextRowItsBottomEdge) {
    const TableViewGeometry geometry = threeSections();
    EXPECT_EQ(geometry.indexPathForRowAtY(72), (IndexPath{0, 0}));
    EXPECT_EQ(geometry.indexPathForRowAtY(115.9), (IndexPath{0, 0}));
    EXPECT_EQ(geometry.indexPathForRowAtY(116), (IndexPath{0, 1}));
    EXPECT_EQ(geometry.indexPathForRowAtY(156), (IndexPath{2, 0}));
    // The table header view, a section header, the footer and the space below hold no row.
    EXPECT_FALSE(geometry.indexPathForRowAtY(10));
    EXPECT_FALSE(geometry.indexPathForRowAtY(60));
    EXPECT_FALSE(geometry.indexPathForRowAtY(150));
    EXPECT_FALSE(geometry.indexPathForRowAtY(180));
    EXPECT_FALSE(geometry.indexPathForRowAtY(-1));
}

TEST(TableViewGeometry, RowsBetweenTwoLinesAreThoseShowingAtLeastInPart) {
    const TableViewGeometry geometry = threeSections();
    using Rows = std::vector<IndexPath>;
    EXPECT_EQ(geometry.indexPathsForRowsBetween(0, 480), (Rows{{0, 0}, {0, 1}, {2, 0}}));
    // A row ending at the top line or starting at the bottom line does not show.
    EXPECT_EQ(geometry.indexPathsForRowsBetween(116, 156), (Rows{{0, 1}}));
    EXPECT_EQ(geometry.indexPathsForRowsBetween(115, 157), (Rows{{0, 0}, {0, 1}, {2, 0}}));
    EXPECT_EQ(geometry.indexPathsForRowsBetween(0, 72), Rows{});
    EXPECT_EQ(geometry.indexPathsForRowsBetween(146, 156), Rows{}) << "headers only";
}

TEST(TableViewGeometry, ScrollingToARowPutsItWhereAsked) {
    const TableViewGeometry geometry = threeSections(); // row {0, 1}: 116 to 146
    const IndexPath row{0, 1};
    EXPECT_EQ(geometry.contentOffsetShowingRow(row, TableViewScrollPosition::Top, 0, 40), 116);
    EXPECT_EQ(geometry.contentOffsetShowingRow(row, TableViewScrollPosition::Middle, 0, 40), 111);
    EXPECT_EQ(geometry.contentOffsetShowingRow(row, TableViewScrollPosition::Bottom, 0, 40), 106);
    // None moves only as far as needed, and not at all for a row already in view.
    EXPECT_EQ(geometry.contentOffsetShowingRow(row, TableViewScrollPosition::None, 0, 40), 106);
    EXPECT_EQ(geometry.contentOffsetShowingRow(row, TableViewScrollPosition::None, 200, 40), 116);
    EXPECT_EQ(geometry.contentOffsetShowingRow(row, TableViewScrollPosition::None, 110, 40), 110);
    // Never above the top.
    EXPECT_EQ(geometry.contentOffsetShowingRow({0, 0}, TableViewScrollPosition::Bottom, 0, 400), 0);
}

TEST(TableViewGeometry, TablesKeepTheirDesignedWidthCentredInAWideTable) {
    using Column = TableViewGeometry::Column;
    // As wide as the screen or narrower: cards inset 10 points from either side.
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Grouped, 320), (Column{10, 300}));
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Grouped, 200), (Column{10, 180}));
    // Wider: the 320-point column sits in the middle, its cards as wide as designed.
    EXPECT_EQ(TableViewGeometry::contentColumn(900), (Column{290, 320}));
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Grouped, 900), (Column{300, 300}));
    // Plain rows fill the designed width, centred the same way.
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Plain, 320), (Column{0, 320}));
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Plain, 900), (Column{290, 320}));
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Grouped, 5), (Column{10, 0}));
}

} // namespace
