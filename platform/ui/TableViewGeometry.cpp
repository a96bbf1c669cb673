#include "platform/ui/TableViewGeometry.h"

#include "platform/ui/Geometry.h"

#include <algorithm>

namespace ui {

namespace {
constexpr double kGroupInset = 10;
} // namespace

TableViewGeometry::Column TableViewGeometry::contentColumn(double tableWidth) {
    const double designed = Screen::bounds().width;
    if (tableWidth <= designed) {
        return {0, std::max(0.0, tableWidth)};
    }
    return {(tableWidth - designed) / 2, designed};
}

TableViewGeometry::Column TableViewGeometry::rowColumn(TableViewStyle style, double tableWidth) {
    const Column content = contentColumn(tableWidth);
    const double inset = style == TableViewStyle::Grouped ? kGroupInset : 0;
    return {content.left + inset, std::max(0.0, content.width - 2 * inset)};
}

void TableViewGeometry::reset(double tableHeaderHeight, double tableFooterHeight) {
    sections_.clear();
    sectionsBottom_ = tableHeaderHeight;
    tableFooterHeight_ = tableFooterHeight;
}

void TableViewGeometry::appendSection(double headerHeight, const std::vector<double>& rowHeights,
                                      double footerHeight) {
    Section section;
    section.top = sectionsBottom_;
    section.headerHeight = headerHeight;
    section.footerHeight = footerHeight;
    section.rowTops.reserve(rowHeights.size() + 1);
    double rowTop = 0;
    for (const double height : rowHeights) {
        section.rowTops.push_back(rowTop);
        rowTop += height;
    }
    section.rowTops.push_back(rowTop);
    sectionsBottom_ = section.bottom();
    sections_.push_back(std::move(section));
}

int TableViewGeometry::numberOfRowsInSection(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return 0;
    }
    return sections_[section].rows();
}

bool TableViewGeometry::contains(const IndexPath& indexPath) const {
    return indexPath.row >= 0 && indexPath.row < numberOfRowsInSection(indexPath.section);
}

TableViewGeometry::Span TableViewGeometry::headerSpan(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return {};
    }
    return {sections_[section].top, sections_[section].headerHeight};
}

TableViewGeometry::Span TableViewGeometry::rowSpan(const IndexPath& indexPath) const {
    if (!contains(indexPath)) {
        return {};
    }
    const Section& section = sections_[indexPath.section];
    const double top = section.rowsTop() + section.rowTops[indexPath.row];
    return {top, section.rowTops[indexPath.row + 1] - section.rowTops[indexPath.row]};
}

std::optional<IndexPath> TableViewGeometry::indexPathForRowAtY(double y) const {
    for (int s = 0; s < numberOfSections(); ++s) {
        const Section& section = sections_[s];
        const double local = y - section.rowsTop();
        if (local < 0 || local >= section.rowTops.back()) {
            continue;
        }
        const auto after = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), local);
        const int row = static_cast<int>(after - section.rowTops.begin()) - 1;
        if (row >= 0 && row < section.rows()) {
            return IndexPath{s, row};
        }
    }
    return std::nullopt;
}

std::vector<IndexPath> TableViewGeometry::indexPathsForRowsBetween(double top,
                                                                   double bottom) const {
    std::vector<IndexPath> shown;
    for (int s = 0; s < numberOfSections(); ++s) {
        const Section& section = sections_[s];
        if (section.bottom() <= top) {
            continue;
        }
        if (section.top >= bottom) {
            break;
        }
        const double rowsTop = section.rowsTop();
        const auto after =
            std::upper_bound(section.rowTops.begin(), section.rowTops.end(), top - rowsTop);
        int row = std::max(0, static_cast<int>(after - section.rowTops.begin()) - 1);
        for (; row < section.rows() && rowsTop + section.rowTops[row] < bottom; ++row) {
            if (rowsTop + section.rowTops[row + 1] > top) {
                shown.push_back({s, row});
            }
        }
    }
    return shown;
}

double TableViewGeometry::contentOffsetShowingRow(const IndexPath& indexPath,
                                                  TableViewScrollPosition position, double offset,
                                                  double visibleHeight) const {
    const Span row = rowSpan(indexPath);
    double y = offset;
    switch (position) {
    case TableViewScrollPosition::Top:
        y = row.top;
        break;
    case TableViewScrollPosition::Middle:
        y = row.top - (visibleHeight - row.height) / 2;
        break;
    case TableViewScrollPosition::Bottom:
        y = row.bottom() - visibleHeight;
        break;
    case TableViewScrollPosition::None:
        if (row.top < offset) {
            y = row.top;
        } else if (row.bottom() > offset + visibleHeight) {
            y = row.bottom() - visibleHeight;
        }
        break;
    }
    return std::max(0.0, y);
}

} // namespace ui
