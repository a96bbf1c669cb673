#include "platform/ui/TableViewGeometry.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST(TableViewGeometry, RowsAndSectionsThatDoNotExistHaveNoRoom) {
    const TableViewGeometry geometry = threeSections();
    EXPECT_EQ(geometry.contentHeight(), 156 + 20 + 10 + 5) << "the footers count";
    for (const int section : {1, 3, -1}) {
        EXPECT_EQ(geometry.numberOfRowsInSection(section), 0);
    }
    for (const IndexPath& p : {IndexPath{0, 2}, IndexPath{1, 0}, IndexPath{0, -1}}) {
        EXPECT_FALSE(geometry.contains(p));
    }
    EXPECT_EQ(geometry.headerSpan(7), Span{});

    TableViewGeometry empty;
    empty.reset(0, 0);
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
    for (const double y : {10.0, 60.0, 150.0, 180.0, -1.0}) {
        EXPECT_FALSE(geometry.indexPathForRowAtY(y)) << y;
    }
}

TEST(TableViewGeometry, RowsBetweenTwoLinesAreThoseShowingAtLeastInPart) {
    const TableViewGeometry geometry = threeSections();
    using Rows = std::vector<IndexPath>;
    EXPECT_EQ(geometry.indexPathsForRowsBetween(0, 480), (Rows{{0, 0}, {0, 1}, {2, 0}}));
    // A row ending at the top line or starting at the bottom line does not show.
    EXPECT_EQ(geometry.indexPathsForRowsBetween(116, 156), (Rows{{0, 1}}));
    EXPECT_EQ(geometry.indexPathsForRowsBetween(115, 157), (Rows{{0, 0}, {0, 1}, {2, 0}}));
    EXPECT_EQ(geometry.indexPathsForRowsBetween(146, 156), Rows{}) << "headers only";
}

TEST(TableViewGeometry, ScrollingToARowPutsItWhereAsked) {
    const TableViewGeometry geometry = threeSections(); // row {0, 1}: 116 to 146
    const IndexPath row{0, 1};
    using enum TableViewScrollPosition;
    // None moves only as far as needed, and not at all for a row already in view.
    const std::tuple<TableViewScrollPosition, double, double> cases[] = {
        {Top, 0, 116},  {Middle, 0, 111}, {Bottom, 0, 106},
        {None, 0, 106}, {None, 200, 116}, {None, 110, 110}};
    for (const auto& [position, from, to] : cases) {
        EXPECT_EQ(geometry.contentOffsetShowingRow(row, position, from, 40), to) << from;
    }
    // Never above the top.
    EXPECT_EQ(geometry.contentOffsetShowingRow({0, 0}, TableViewScrollPosition::Bottom, 0, 400), 0);
}

TEST(TableViewGeometry, TablesKeepTheirDesignedWidthCentredInAWideTable) {
    using Column = TableViewGeometry::Column;
    // As wide as the screen or narrower: cards inset 10 points from either side.
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Grouped, 200), (Column{10, 180}));
    // Wider: the 320-point column sits in the middle, its cards as wide as designed.
    EXPECT_EQ(TableViewGeometry::contentColumn(900), (Column{290, 320}));
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Grouped, 900), (Column{300, 300}));
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Plain, 900), (Column{290, 320}));
    EXPECT_EQ(TableViewGeometry::rowColumn(TableViewStyle::Grouped, 5), (Column{10, 0}));
}

} // namespace
