#include "platform/ui/TableView.h"

#include "platform/ui/Font.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace ui {

double TableViewDelegate::tableViewHeightForRowAtIndexPath(TableView* tableView,
                                                           const IndexPath& /*indexPath*/) {
    return tableView->rowHeight();
}

namespace {

constexpr double kGroupInset = 10;
constexpr double kGroupedTitledHeaderHeight = 46;
constexpr double kGroupedGap = 10;
constexpr double kDragThreshold = 8;
constexpr double kSwipeDistance = 40;
constexpr int kDetachedCellLimit = 64;

// The pinstripes behind grouped tables.
QBrush pinstripeBrush() {
    const int period = std::max(2, Screen::px(7));
    QPixmap tile(period, 8);
    tile.fill(QColor(197, 204, 212));
    QPainter painter(&tile);
    painter.fillRect(0, 0, std::max(1, period * 4 / 7), 8, QColor(203, 210, 216));
    return QBrush(tile);
}

QStringList labelTextsInReadingOrder(QWidget* cell) {
    struct Placed {
        QPoint position;
        QString text;
    };
    std::vector<Placed> placed;
    for (QLabel* label : cell->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(cell)) {
            continue;
        }
        placed.push_back({label->mapTo(cell, QPoint(0, 0)), label->text()});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        if (a.position.y() != b.position.y()) {
            return a.position.y() < b.position.y();
        }
        return a.position.x() < b.position.x();
    });
    QStringList texts;
    for (const Placed& label : placed) {
        texts.append(label.text);
    }
    return texts;
}

} // namespace

TableView::TableView(Rect frame, TableViewStyle style) : style_(style) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    if (style == TableViewStyle::Grouped) {
        separatorColor_ = Color{0.67, 0.67, 0.67, 1};
    }
    setFrame(this, frame);
}

TableView::~TableView() = default;

void TableView::setDataSource(TableViewDataSource* dataSource) {
    dataSource_ = dataSource;
    reloadData();
}

void TableView::setDelegate(TableViewDelegate* delegate) {
    delegate_ = delegate;
    invalidate();
    relayoutIfShown();
}

void TableView::setRowHeight(double height) {
    rowHeight_ = height;
    invalidate();
}

void TableView::setSectionHeaderHeight(double height) {
    sectionHeaderHeight_ = height;
    sectionHeaderHeightSet_ = true;
    invalidate();
}

void TableView::setTableHeaderView(QWidget* view) {
    if (view != tableHeaderView_) {
        delete tableHeaderView_.data();
        tableHeaderView_ = view;
        if (view != nullptr) {
            view->setParent(viewport());
            view->show();
        }
        invalidate();
    }
}

void TableView::setTableFooterView(QWidget* view) {
    if (view != tableFooterView_) {
        delete tableFooterView_.data();
        tableFooterView_ = view;
        if (view != nullptr) {
            view->setParent(viewport());
            view->show();
        }
        invalidate();
    }
}

// ---- geometry ------------------------------------------------------------------

void TableView::invalidate() {
    geometryValid_ = false;
    laidOut_ = false;
    viewport()->update();
}

void TableView::ensureGeometry() {
    if (!geometryValid_) {
        rebuildGeometry();
    }
}

double TableView::rowHeightFor(const IndexPath& indexPath) {
    const double height = delegate_ != nullptr
                              ? delegate_->tableViewHeightForRowAtIndexPath(this, indexPath)
                              : rowHeight_;
    return std::max(0.0, height);
}

double TableView::headerHeightFor(int section, const QString& title, QWidget* view) {
    if (delegate_ != nullptr) {
        const double asked = delegate_->tableViewHeightForHeaderInSection(this, section);
        if (asked >= 0) {
            return asked;
        }
    }
    if (view != nullptr && view->height() > 0) {
        return frame(view).height;
    }
    const bool grouped = style_ == TableViewStyle::Grouped;
    if (title.isEmpty()) {
        return grouped ? kGroupedGap : 0;
    }
    if (sectionHeaderHeightSet_ || !grouped) {
        return sectionHeaderHeight_;
    }
    return kGroupedTitledHeaderHeight;
}

void TableView::rebuildGeometry() {
    for (Section& old : sections_) {
        delete old.headerView.data();
    }
    sections_.clear();
    double y = tableHeaderView_ ? frame(tableHeaderView_).height : 0;
    const int count = dataSource_ != nullptr ? dataSource_->numberOfSectionsInTableView(this) : 0;
    sections_.reserve(std::max(0, count));
    for (int s = 0; s < count; ++s) {
        Section section;
        section.top = y;
        section.title = dataSource_->tableViewTitleForHeaderInSection(this, s);
        if (delegate_ != nullptr) {
            section.headerView = delegate_->tableViewViewForHeaderInSection(this, s);
            if (section.headerView) {
                section.headerView->setParent(viewport());
            }
        }
        section.headerHeight = headerHeightFor(s, section.title, section.headerView);
        const int rows = std::max(0, dataSource_->tableViewNumberOfRowsInSection(this, s));
        section.rowTops.resize(rows + 1);
        double rowTop = 0;
        for (int r = 0; r < rows; ++r) {
            section.rowTops[r] = rowTop;
            rowTop += rowHeightFor({s, r});
        }
        section.rowTops[rows] = rowTop;
        section.footerHeight = style_ == TableViewStyle::Grouped ? kGroupedGap : 0;
        if (rows == 0 && section.title.isEmpty() && !section.headerView) {
            // An empty, untitled section takes no room, as it draws nothing.
            section.headerHeight = 0;
            section.footerHeight = 0;
        }
        y = section.bottom();
        sections_.push_back(std::move(section));
    }
    contentHeight_ = y + (tableFooterView_ ? frame(tableFooterView_).height : 0);
    geometryValid_ = true;
    updateScrollRange();
}

double TableView::tableWidth() const {
    return Screen::toPoints(width());
}

double TableView::viewportHeight() const {
    return Screen::toPoints(height());
}

double TableView::rowX() const {
    return style_ == TableViewStyle::Grouped ? kGroupInset : 0;
}

double TableView::rowWidth() const {
    return std::max(0.0, tableWidth() - 2 * rowX());
}

bool TableView::isValid(const IndexPath& indexPath) {
    ensureGeometry();
    return indexPath.section >= 0 && indexPath.section < static_cast<int>(sections_.size()) &&
           indexPath.row >= 0 && indexPath.row < sections_[indexPath.section].rows();
}

Rect TableView::rowRect(const IndexPath& indexPath) const {
    const Section& section = sections_[indexPath.section];
    const double top = section.rowsTop() + section.rowTops[indexPath.row];
    return {rowX(), top, rowWidth(),
            section.rowTops[indexPath.row + 1] - section.rowTops[indexPath.row]};
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) {
    return isValid(indexPath) ? rowRect(indexPath) : Rect{};
}

Rect TableView::rectForHeaderInSection(int section) {
    ensureGeometry();
    if (section < 0 || section >= static_cast<int>(sections_.size())) {
        return {};
    }
    return {0, sections_[section].top, tableWidth(), sections_[section].headerHeight};
}

int TableView::numberOfSections() {
    ensureGeometry();
    return static_cast<int>(sections_.size());
}

int TableView::numberOfRowsInSection(int section) {
    ensureGeometry();
    if (section < 0 || section >= static_cast<int>(sections_.size())) {
        return 0;
    }
    return sections_[section].rows();
}

Size TableView::contentSize() {
    ensureGeometry();
    return {tableWidth(), contentHeight_};
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) {
    ensureGeometry();
    for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
        const Section& section = sections_[s];
        const double local = point.y - section.rowsTop();
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

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
    for (const auto& [indexPath, shown] : visible_) {
        if (shown == cell) {
            return indexPath;
        }
    }
    return std::nullopt;
}

TableViewCell::GroupPosition TableView::groupPositionFor(const IndexPath& indexPath) const {
    if (style_ != TableViewStyle::Grouped) {
        return TableViewCell::GroupPosition::None;
    }
    const int rows = sections_[indexPath.section].rows();
    if (rows == 1) {
        return TableViewCell::GroupPosition::Single;
    }
    if (indexPath.row == 0) {
        return TableViewCell::GroupPosition::Top;
    }
    return indexPath.row == rows - 1 ? TableViewCell::GroupPosition::Bottom
                                     : TableViewCell::GroupPosition::Middle;
}

// ---- scrolling -------------------------------------------------------------------

void TableView::updateScrollRange() {
    const int maximum = std::max(0, Screen::px(contentHeight_) - height());
    verticalScrollBar()->setPageStep(std::max(1, height()));
    verticalScrollBar()->setSingleStep(std::max(1, Screen::px(rowHeight_)));
    verticalScrollBar()->setRange(0, maximum);
}

void TableView::setOffsetPixels(int value) {
    verticalScrollBar()->setValue(value);
}

Point TableView::contentOffset() const {
    return {0, Screen::toPoints(verticalScrollBar()->value())};
}

void TableView::setContentOffset(Point offset) {
    ensureGeometry();
    updateScrollRange();
    setOffsetPixels(Screen::px(offset.y));
    if (!laidOut_) {
        layoutVisibleRows();
    }
}

void TableView::scrollToRowAtIndexPathAtScrollPositionAnimated(const IndexPath& indexPath,
                                                               TableViewScrollPosition position,
                                                               bool /*animated*/) {
    if (!isValid(indexPath)) {
        return;
    }
    const Rect row = rowRect(indexPath);
    const double visible = viewportHeight();
    const double offset = contentOffset().y;
    double y = offset;
    switch (position) {
    case TableViewScrollPosition::Top:
        y = row.y;
        break;
    case TableViewScrollPosition::Middle:
        y = row.y - (visible - row.height) / 2;
        break;
    case TableViewScrollPosition::Bottom:
        y = row.y + row.height - visible;
        break;
    case TableViewScrollPosition::None:
        if (row.y < offset) {
            y = row.y;
        } else if (row.y + row.height > offset + visible) {
            y = row.y + row.height - visible;
        }
        break;
    }
    setContentOffset({0, std::max(0.0, y)});
}

void TableView::scrollContentsBy(int, int) {
    layoutVisibleRows();
}

void TableView::wheelEvent(QWheelEvent* event) {
    if (!scrollEnabled_) {
        event->ignore();
        return;
    }
    const int delta = !event->pixelDelta().isNull()
                          ? event->pixelDelta().y()
                          : static_cast<int>(event->angleDelta().y() / 120.0 * Screen::px(66));
    setOffsetPixels(verticalScrollBar()->value() - delta);
    event->accept();
}

void TableView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (geometryValid_) {
        updateScrollRange();
    }
    laidOut_ = false;
    relayoutIfShown();
}

void TableView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (!laidOut_) {
        layoutVisibleRows();
    }
}

// ---- cells -----------------------------------------------------------------------

TableViewCell* TableView::dequeueReusableCellWithIdentifier(const QString& identifier) {
    auto found = pool_.find(identifier);
    if (found == pool_.end()) {
        return nullptr;
    }
    while (!found->isEmpty()) {
        TableViewCell* cell = found->takeLast();
        if (cell == nullptr) {
            continue;
        }
        cell->setSelected(false);
        cell->setHighlighted(false);
        cell->setShowsDeleteConfirmation(false);
        cell->prepareForReuse();
        return cell;
    }
    return nullptr;
}

int TableView::reusableCellCount() const {
    int count = 0;
    for (const QList<QPointer<TableViewCell>>& cells : pool_) {
        count += static_cast<int>(std::count_if(cells.begin(), cells.end(),
                                                [](const auto& cell) { return !cell.isNull(); }));
    }
    return count;
}

void TableView::recycle(TableViewCell* cell) {
    if (cell == nullptr) {
        return;
    }
    cell->hide();
    cell->setHighlighted(false);
    if (!cell->reuseIdentifier().isEmpty()) {
        pool_[cell->reuseIdentifier()].append(cell);
        return;
    }
    // Cells without an identifier are not reused; a data source may still hold on to
    // them (a fixed set of cells), so only the oldest of many are let go.
    detached_.append(cell);
    while (detached_.size() > kDetachedCellLimit) {
        delete detached_.takeFirst().data();
    }
}

void TableView::recycleAllVisible() {
    for (auto& [indexPath, cell] : visible_) {
        recycle(cell);
    }
    visible_.clear();
}

void TableView::adopt(TableViewCell* cell) {
    for (QList<QPointer<TableViewCell>>& cells : pool_) {
        cells.removeAll(cell);
    }
    detached_.removeAll(cell);
    for (auto it = visible_.begin(); it != visible_.end(); ++it) {
        if (it->second == cell) {
            visible_.erase(it);
            break;
        }
    }
    if (cell->parentWidget() != viewport()) {
        cell->setParent(viewport());
    }
}

TableViewCell* TableView::obtainCell(const IndexPath& indexPath) {
    TableViewCell* cell = dataSource_ != nullptr
                              ? dataSource_->tableViewCellForRowAtIndexPath(this, indexPath)
                              : nullptr;
    if (cell == nullptr) {
        cell = new TableViewCell(QString());
    }
    adopt(cell);
    configureCell(cell, indexPath);
    return cell;
}

void TableView::configureCell(TableViewCell* cell, const IndexPath& indexPath) {
    cell->setGroupPosition(groupPositionFor(indexPath));
    cell->setSeparator(separatorStyle_ != TableViewCellSeparatorStyle::None,
                       separatorColor_.toQColor());
    const bool editable = editing_ && dataSource_ != nullptr &&
                          dataSource_->tableViewCanEditRowAtIndexPath(this, indexPath);
    if (editable) {
        cell->setEditingStyle(
            delegate_ != nullptr
                ? delegate_->tableViewEditingStyleForRowAtIndexPath(this, indexPath)
                : TableViewCellEditingStyle::Delete);
    }
    cell->setEditing(editable);
    cell->setShowsDeleteConfirmation(confirming_ == indexPath);
    cell->setSelected(selected_ == indexPath);
}

void TableView::layoutVisibleRows() {
    if (inLayout_) {
        return;
    }
    inLayout_ = true;
    ensureGeometry();
    const double top = contentOffset().y;
    const double bottom = top + viewportHeight();

    std::vector<IndexPath> wanted;
    for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
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
                wanted.push_back({s, row});
            }
        }
    }

    for (auto it = visible_.begin(); it != visible_.end();) {
        if (!std::binary_search(wanted.begin(), wanted.end(), it->first) || it->second.isNull()) {
            recycle(it->second);
            it = visible_.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<std::pair<IndexPath, TableViewCell*>> appearing;
    for (const IndexPath& indexPath : wanted) {
        if (visible_.count(indexPath) == 0) {
            TableViewCell* cell = obtainCell(indexPath);
            visible_[indexPath] = cell;
            appearing.emplace_back(indexPath, cell);
        }
    }
    for (auto& [indexPath, cell] : visible_) {
        Rect row = rowRect(indexPath);
        row.y -= top;
        const QRect pixels = Screen::toPixels(row);
        if (cell->geometry() != pixels) {
            cell->setGeometry(pixels);
            if (!cell->isVisible()) {
                cell->layoutSubviews();
            }
        }
    }
    for (auto& [indexPath, cell] : appearing) {
        if (delegate_ != nullptr) {
            delegate_->tableViewWillDisplayCellForRowAtIndexPath(this, cell, indexPath);
        }
        cell->show();
    }
    placeHeaderViews(top, bottom);
    laidOut_ = true;
    inLayout_ = false;
    viewport()->update();
}

void TableView::placeHeaderViews(double top, double /*bottom*/) {
    const double width = tableWidth();
    for (const Section& section : sections_) {
        if (section.headerView) {
            setFrame(section.headerView, {0, section.top - top, width, section.headerHeight});
            section.headerView->show();
        }
    }
    if (tableHeaderView_) {
        setFrame(tableHeaderView_, {0, -top, width, frame(tableHeaderView_).height});
    }
    if (tableFooterView_) {
        const double height = frame(tableFooterView_).height;
        setFrame(tableFooterView_, {0, contentHeight_ - height - top, width, height});
    }
}

TableViewCell* TableView::cellForRowAtIndexPath(const IndexPath& indexPath) {
    if (!laidOut_) {
        layoutVisibleRows();
    }
    const auto found = visible_.find(indexPath);
    return found != visible_.end() ? found->second.data() : nullptr;
}

QList<TableViewCell*> TableView::visibleCells() {
    if (!laidOut_) {
        layoutVisibleRows();
    }
    QList<TableViewCell*> cells;
    for (const auto& [indexPath, cell] : visible_) {
        if (cell) {
            cells.append(cell);
        }
    }
    return cells;
}

QList<IndexPath> TableView::indexPathsForVisibleRows() {
    if (!laidOut_) {
        layoutVisibleRows();
    }
    QList<IndexPath> paths;
    for (const auto& [indexPath, cell] : visible_) {
        paths.append(indexPath);
    }
    return paths;
}

// ---- changes ---------------------------------------------------------------------

void TableView::reloadData() {
    recycleAllVisible();
    selected_.reset();
    confirming_.reset();
    invalidate();
    relayoutIfShown();
}

void TableView::relayoutIfShown() {
    // A hidden table asks its data source when it is shown or first queried.
    if (isVisible()) {
        layoutVisibleRows();
    }
}

void TableView::reloadSectionsWithRowAnimation(const QList<int>& sections,
                                               TableViewRowAnimation /*animation*/) {
    for (auto it = visible_.begin(); it != visible_.end();) {
        if (sections.contains(it->first.section)) {
            recycle(it->second);
            it = visible_.erase(it);
        } else {
            ++it;
        }
    }
    if (selected_ && sections.contains(selected_->section)) {
        selected_.reset();
    }
    invalidate();
    relayoutIfShown();
}

void TableView::reloadRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                       TableViewRowAnimation /*animation*/) {
    for (const IndexPath& indexPath : indexPaths) {
        const auto found = visible_.find(indexPath);
        if (found != visible_.end()) {
            recycle(found->second);
            visible_.erase(found);
        }
    }
    invalidate();
    relayoutIfShown();
}

void TableView::shiftSelection(const QList<IndexPath>& changed, int direction) {
    QList<IndexPath> ordered = changed;
    std::sort(ordered.begin(), ordered.end());
    if (direction < 0) {
        std::reverse(ordered.begin(), ordered.end());
    }
    for (const IndexPath& indexPath : ordered) {
        if (selected_ && direction < 0 && *selected_ == indexPath) {
            selected_.reset();
        } else if (selected_ && selected_->section == indexPath.section &&
                   selected_->row >= indexPath.row) {
            selected_->row += direction;
        }
    }
}

void TableView::deleteRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                       TableViewRowAnimation /*animation*/) {
    shiftSelection(indexPaths, -1);
    confirming_.reset();
    recycleAllVisible();
    invalidate();
    relayoutIfShown();
}

void TableView::insertRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                       TableViewRowAnimation /*animation*/) {
    shiftSelection(indexPaths, +1);
    confirming_.reset();
    recycleAllVisible();
    invalidate();
    relayoutIfShown();
}

// ---- selection and editing -----------------------------------------------------

void TableView::selectRowAtIndexPathAnimatedScrollPosition(const IndexPath& indexPath,
                                                           bool animated,
                                                           TableViewScrollPosition position) {
    if (!isValid(indexPath)) {
        if (selected_) {
            deselectRowAtIndexPathAnimated(*selected_, animated);
        }
        return;
    }
    if (selected_ && *selected_ != indexPath) {
        deselectRowAtIndexPathAnimated(*selected_, animated);
    }
    selected_ = indexPath;
    if (TableViewCell* cell = cellForRowAtIndexPath(indexPath)) {
        cell->setSelectedAnimated(true, animated);
    }
    if (position != TableViewScrollPosition::None) {
        scrollToRowAtIndexPathAtScrollPositionAnimated(indexPath, position, animated);
    }
}

void TableView::deselectRowAtIndexPathAnimated(const IndexPath& indexPath, bool animated) {
    if (selected_ != indexPath) {
        return;
    }
    selected_.reset();
    const auto found = visible_.find(indexPath);
    if (found != visible_.end() && found->second) {
        found->second->setSelectedAnimated(false, animated);
    }
}

void TableView::setEditing(bool editing, bool /*animated*/) {
    if (editing_ == editing) {
        return;
    }
    editing_ = editing;
    hideDeleteConfirmation();
    for (auto& [indexPath, cell] : visible_) {
        if (cell) {
            configureCell(cell, indexPath);
        }
    }
}

void TableView::setBackgroundColor(Color color) {
    backgroundColor_ = color;
    viewport()->update();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
    separatorStyle_ = style;
    for (auto& [indexPath, cell] : visible_) {
        if (cell) {
            configureCell(cell, indexPath);
        }
    }
}

void TableView::setSeparatorColor(Color color) {
    separatorColor_ = color;
    setSeparatorStyle(separatorStyle_);
}

void TableView::hideDeleteConfirmation() {
    if (!confirming_) {
        return;
    }
    const auto found = visible_.find(*confirming_);
    if (found != visible_.end() && found->second) {
        found->second->setShowsDeleteConfirmation(false);
    }
    confirming_.reset();
}

void TableView::tapRowAtIndexPath(const IndexPath& indexPath) {
    if (confirming_) {
        hideDeleteConfirmation();
        return;
    }
    if (!isValid(indexPath) || editing_ || !allowsSelection_) {
        return;
    }
    selectRowAtIndexPathAnimatedScrollPosition(indexPath, false, TableViewScrollPosition::None);
    if (delegate_ != nullptr) {
        delegate_->tableViewDidSelectRowAtIndexPath(this, indexPath);
    }
}

void TableView::tapAccessoryAtIndexPath(const IndexPath& indexPath) {
    if (isValid(indexPath) && delegate_ != nullptr) {
        delegate_->tableViewAccessoryButtonTappedForRowWithIndexPath(this, indexPath);
    }
}

void TableView::swipeToDeleteRowAtIndexPath(const IndexPath& indexPath) {
    if (!isValid(indexPath) || dataSource_ == nullptr ||
        !dataSource_->tableViewCanEditRowAtIndexPath(this, indexPath)) {
        return;
    }
    const TableViewCellEditingStyle style =
        delegate_ != nullptr ? delegate_->tableViewEditingStyleForRowAtIndexPath(this, indexPath)
                             : TableViewCellEditingStyle::Delete;
    if (style != TableViewCellEditingStyle::Delete) {
        return;
    }
    hideDeleteConfirmation();
    confirming_ = indexPath;
    if (TableViewCell* cell = cellForRowAtIndexPath(indexPath)) {
        cell->setShowsDeleteConfirmation(true);
    }
}

void TableView::confirmDeleteAtIndexPath(const IndexPath& indexPath) {
    hideDeleteConfirmation();
    if (!isValid(indexPath) || dataSource_ == nullptr ||
        !dataSource_->tableViewCanEditRowAtIndexPath(this, indexPath)) {
        return;
    }
    dataSource_->tableViewCommitEditingStyleForRowAtIndexPath(
        this, TableViewCellEditingStyle::Delete, indexPath);
}

// ---- text ------------------------------------------------------------------------

QStringList TableView::rowTexts(const IndexPath& indexPath) {
    if (!isValid(indexPath)) {
        return {};
    }
    if (!laidOut_) {
        layoutVisibleRows();
    }
    const auto shown = visible_.find(indexPath);
    if (shown != visible_.end() && shown->second) {
        return labelTextsInReadingOrder(shown->second);
    }
    TableViewCell* cell = dataSource_ != nullptr
                              ? dataSource_->tableViewCellForRowAtIndexPath(this, indexPath)
                              : nullptr;
    if (cell == nullptr) {
        return {};
    }
    if (indexPathForCell(cell)) {
        // The data source handed out a cell that shows another row; leave it there.
        return labelTextsInReadingOrder(cell);
    }
    adopt(cell);
    configureCell(cell, indexPath);
    const Rect row = rowRect(indexPath);
    cell->setGeometry(Screen::toPixels({0, 0, row.width, row.height}));
    cell->layoutSubviews();
    const QStringList texts = labelTextsInReadingOrder(cell);
    recycle(cell);
    return texts;
}

QString TableView::renderText() {
    ensureGeometry();
    QString text;
    for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
        const QString title = sections_[s].title;
        const int rows = sections_[s].rows();
        if (title.isEmpty() && rows == 0) {
            continue; // a section with nothing to show is not drawn either
        }
        text += title.isEmpty() ? QStringLiteral("--\n") : QStringLiteral("-- ") + title + '\n';
        for (int r = 0; r < rows; ++r) {
            text += rowTexts({s, r}).join('\t') + '\n';
        }
    }
    return text;
}

// ---- painting and touches -------------------------------------------------------

void TableView::paintHeader(QPainter& painter, int section, double offset) {
    const Section& s = sections_[section];
    const QRect box = Screen::toPixels({0, s.top - offset, tableWidth(), s.headerHeight});
    if (style_ == TableViewStyle::Plain) {
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, QColor(144, 159, 170));
        gradient.setColorAt(0.05, QColor(165, 177, 186));
        gradient.setColorAt(1, QColor(184, 193, 200));
        painter.fillRect(box, gradient);
        painter.setFont(boldSystemFontOfSize(18));
        const QRect text = box.adjusted(Screen::px(12), 0, -Screen::px(12), 0);
        painter.setPen(QColor(90, 100, 110));
        painter.drawText(text.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, s.title);
        painter.setPen(Qt::white);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, s.title);
        return;
    }
    painter.setFont(boldSystemFontOfSize(17));
    const QRect text = box.adjusted(Screen::px(20), 0, -Screen::px(20), -Screen::px(8));
    painter.setPen(Qt::white);
    painter.drawText(text.translated(0, 1), Qt::AlignLeft | Qt::AlignBottom, s.title);
    painter.setPen(QColor(77, 87, 107));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignBottom, s.title);
}

void TableView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    if (backgroundColor_) {
        painter.fillRect(viewport()->rect(), backgroundColor_->toQColor());
    } else if (style_ == TableViewStyle::Grouped) {
        painter.fillRect(viewport()->rect(), pinstripeBrush());
    } else {
        painter.fillRect(viewport()->rect(), Qt::white);
    }
    if (!geometryValid_) {
        return;
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double top = contentOffset().y;
    const double bottom = top + viewportHeight();
    for (int s = 0; s < static_cast<int>(sections_.size()); ++s) {
        const Section& section = sections_[s];
        if (section.top >= bottom) {
            break;
        }
        const bool hasDrawnHeader = !section.headerView && !section.title.isEmpty();
        if (hasDrawnHeader && section.top + section.headerHeight > top) {
            paintHeader(painter, s, top);
        }
    }
}

void TableView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressed_ = true;
    dragging_ = false;
    pressPosition_ = event->position().toPoint();
    pressOffset_ = verticalScrollBar()->value();
    pressedRow_ =
        indexPathForRowAtPoint({Screen::toPoints(pressPosition_.x()),
                                Screen::toPoints(pressPosition_.y()) + contentOffset().y});
    if (pressedRow_ && !editing_ && !confirming_ && allowsSelection_) {
        if (TableViewCell* cell = cellForRowAtIndexPath(*pressedRow_)) {
            cell->setHighlighted(true);
        }
    }
}

void TableView::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) {
        return;
    }
    const QPoint moved = event->position().toPoint() - pressPosition_;
    auto unhighlight = [this] {
        if (pressedRow_) {
            if (TableViewCell* cell = cellForRowAtIndexPath(*pressedRow_)) {
                cell->setHighlighted(false);
            }
        }
    };
    const bool horizontal = std::abs(moved.x()) > std::abs(moved.y());
    if (!dragging_ && horizontal && std::abs(moved.x()) > Screen::px(kSwipeDistance)) {
        unhighlight();
        pressed_ = false;
        if (pressedRow_) {
            swipeToDeleteRowAtIndexPath(*pressedRow_);
        }
        return;
    }
    if (!dragging_ && !horizontal && std::abs(moved.y()) > Screen::px(kDragThreshold)) {
        dragging_ = true;
        unhighlight();
    }
    if (dragging_ && scrollEnabled_) {
        setOffsetPixels(pressOffset_ - moved.y());
    }
}

void TableView::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_ && !dragging_) {
        if (pressedRow_) {
            if (TableViewCell* cell = cellForRowAtIndexPath(*pressedRow_)) {
                cell->setHighlighted(false);
            }
        }
        handleClick(event->position().toPoint());
    }
    pressed_ = false;
    dragging_ = false;
}

void TableView::handleClick(QPoint position) {
    const std::optional<IndexPath> row = indexPathForRowAtPoint(
        {Screen::toPoints(position.x()), Screen::toPoints(position.y()) + contentOffset().y});
    if (confirming_) {
        TableViewCell* cell = cellForRowAtIndexPath(*confirming_);
        const bool onButton = cell != nullptr && row == confirming_ &&
                              cell->deleteButtonRect().contains(position - cell->pos());
        if (onButton) {
            confirmDeleteAtIndexPath(*confirming_);
        } else {
            hideDeleteConfirmation();
        }
        return;
    }
    if (!row) {
        return;
    }
    TableViewCell* cell = cellForRowAtIndexPath(*row);
    if (cell == nullptr) {
        return;
    }
    const QPoint local = position - cell->pos();
    if (cell->isEditing() && cell->editingStyle() == TableViewCellEditingStyle::Delete &&
        cell->deleteControlRect().contains(local)) {
        confirming_ = *row;
        cell->setShowsDeleteConfirmation(true);
        return;
    }
    const bool onDetailButton =
        cell->accessoryType() == TableViewCellAccessoryType::DetailDisclosureButton &&
        cell->accessoryView() == nullptr && cell->accessoryRect().contains(local);
    if (onDetailButton) {
        tapAccessoryAtIndexPath(*row);
        return;
    }
    tapRowAtIndexPath(*row);
}

} // namespace ui
