#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewStyle.h"

#include <optional>
#include <vector>

namespace ui {

// Where a row comes to rest when the table scrolls to it; None moves it just enough
// to show it whole.
enum class TableViewScrollPosition { None = 0, Top, Middle, Bottom };

// Where the sections and rows of a table lie, in points from the top of its content:
// the table header view, then each section's header, rows and footer one below the
// other, then the table footer view. The table works the heights out with its data
// source and delegate; this adds them up and finds rows by position.
class TableViewGeometry {
public:
    // A stretch of the content, `height` points down from `top`.
    struct Span {
        double top = 0;
        double height = 0;
        double bottom() const { return top + height; }
        bool operator==(const Span&) const = default;
    };

    // A stretch across the table, `width` points right from `left`.
    struct Column {
        double left = 0;
        double width = 0;
        double right() const { return left + width; }
        bool operator==(const Column&) const = default;
    };

    // Where the content lies across a table `tableWidth` points wide. Every table keeps
    // the width of the screen it was designed for, centred in a wider table, so that
    // cards, columns of values, charts and accessories keep their shape and places
    // (one rule for plain and grouped tables).
    static Column contentColumn(double tableWidth);
    // The rows: a grouped table's cards are inset from its content column.
    static Column rowColumn(TableViewStyle style, double tableWidth);

    // Forgets every section; the first one added starts below the table header view.
    void reset(double tableHeaderHeight, double tableFooterHeight);
    // Adds a section below the others.
    void appendSection(double headerHeight, const std::vector<double>& rowHeights,
                       double footerHeight);

    int numberOfSections() const { return static_cast<int>(sections_.size()); }
    // 0 for a section that does not exist.
    int numberOfRowsInSection(int section) const;
    bool contains(const IndexPath& indexPath) const;
    // Every section and both table views.
    double contentHeight() const { return sectionsBottom_ + tableFooterHeight_; }

    // Empty spans for sections and rows that do not exist.
    Span headerSpan(int section) const;
    Span rowSpan(const IndexPath& indexPath) const;

    // The row at `y`: a row owns its top edge, the next row its bottom edge; headers,
    // footers and the table views hold no row.
    std::optional<IndexPath> indexPathForRowAtY(double y) const;
    // The rows that show, at least in part, between `top` and `bottom`, in order.
    std::vector<IndexPath> indexPathsForRowsBetween(double top, double bottom) const;
    // The content offset, never negative, that puts an existing row at `position` in a
    // view `visibleHeight` points high, now scrolled to `offset`.
    double contentOffsetShowingRow(const IndexPath& indexPath, TableViewScrollPosition position,
                                   double offset, double visibleHeight) const;

private:
    struct Section {
        double top = 0;
        double headerHeight = 0;
        double footerHeight = 0;
        std::vector<double> rowTops; // from the first row's top; one more than rows
        double rowsTop() const { return top + headerHeight; }
        double bottom() const { return rowsTop() + rowTops.back() + footerHeight; }
        int rows() const { return static_cast<int>(rowTops.size()) - 1; }
    };

    std::vector<Section> sections_;
    double sectionsBottom_ = 0;
    double tableFooterHeight_ = 0;
};

} // namespace ui
