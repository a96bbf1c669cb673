#include "platform/ui/TableView.h"

#include "platform/ui/TableViewPainting.h"
#include "platform/ui/TableViewTextRenderer.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace ui {

double TableViewDelegate::tableViewHeightForRowAtIndexPath(TableView* tableView,
                                                           const IndexPath& /*indexPath*/) {
    return tableView->rowHeight();
}

namespace {

constexpr double kGroupInset = 10;

// Puts `view` in `slot` as a child of `parent`, deleting the view it held.
void replaceOwnedView(QPointer<QWidget>& slot, QWidget* view, QWidget* parent) {
    delete slot.data();
    slot = view;
    if (view != nullptr) {
        view->setParent(parent);
        view->show();
    }
}

} // namespace

TableView::TableView(Rect frame, TableViewStyle style)
    : style_(style), headers_(viewport(), style), pool_(viewport()) {
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
    relayout();
}

void TableView::setRowHeight(double height) {
    rowHeight_ = height;
    invalidate();
}

void TableView::setSectionHeaderHeight(double height) {
    sectionHeaderHeight_ = height;
    invalidate();
}

void TableView::setTableHeaderView(QWidget* view) {
    if (view != tableHeaderView_) {
        replaceOwnedView(tableHeaderView_, view, viewport());
        invalidate();
    }
}

void TableView::setTableFooterView(QWidget* view) {
    if (view != tableFooterView_) {
        replaceOwnedView(tableFooterView_, view, viewport());
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

double TableView::headerHeightFor(int section) {
    if (delegate_ != nullptr) {
        const double asked = delegate_->tableViewHeightForHeaderInSection(this, section);
        if (asked >= 0) {
            return asked;
        }
    }
    return headers_.automaticHeight(section, sectionHeaderHeight_);
}

void TableView::rebuildGeometry() {
    headers_.clear();
    geometry_.reset(tableHeaderView_ ? frame(tableHeaderView_).height : 0,
                    tableFooterView_ ? frame(tableFooterView_).height : 0);
    const int count = dataSource_ != nullptr ? dataSource_->numberOfSectionsInTableView(this) : 0;
    for (int s = 0; s < count; ++s) {
        const QString title = dataSource_->tableViewTitleForHeaderInSection(this, s);
        headers_.append(title, delegate_ != nullptr
                                   ? delegate_->tableViewViewForHeaderInSection(this, s)
                                   : nullptr);
        double headerHeight = headerHeightFor(s);
        const int rows = std::max(0, dataSource_->tableViewNumberOfRowsInSection(this, s));
        std::vector<double> rowHeights(rows);
        for (int r = 0; r < rows; ++r) {
            rowHeights[r] = rowHeightFor({s, r});
        }
        double footerHeight =
            style_ == TableViewStyle::Grouped ? TableViewSectionHeaders::kGroupedGap : 0;
        if (rows == 0 && headers_.isEmpty(s)) {
            // An empty, untitled section takes no room, as it draws nothing.
            headerHeight = 0;
            footerHeight = 0;
        }
        geometry_.appendSection(headerHeight, rowHeights, footerHeight);
    }
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
    return geometry_.contains(indexPath);
}

Rect TableView::rowRect(const IndexPath& indexPath) const {
    const TableViewGeometry::Span row = geometry_.rowSpan(indexPath);
    return {rowX(), row.top, rowWidth(), row.height};
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) {
    return isValid(indexPath) ? rowRect(indexPath) : Rect{};
}

Rect TableView::rectForHeaderInSection(int section) {
    ensureGeometry();
    if (section < 0 || section >= geometry_.numberOfSections()) {
        return {};
    }
    const TableViewGeometry::Span header = geometry_.headerSpan(section);
    return {0, header.top, tableWidth(), header.height};
}

QString TableView::titleForHeaderInSection(int section) {
    ensureGeometry();
    return headers_.title(section);
}

int TableView::numberOfSections() {
    ensureGeometry();
    return geometry_.numberOfSections();
}

int TableView::numberOfRowsInSection(int section) {
    ensureGeometry();
    return geometry_.numberOfRowsInSection(section);
}

Size TableView::contentSize() {
    ensureGeometry();
    return {tableWidth(), geometry_.contentHeight()};
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) {
    ensureGeometry();
    return geometry_.indexPathForRowAtY(point.y);
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
    return pool_.indexPathForCell(cell);
}

TableViewCell::GroupPosition TableView::groupPositionFor(const IndexPath& indexPath) const {
    if (style_ != TableViewStyle::Grouped) {
        return TableViewCell::GroupPosition::None;
    }
    const int rows = geometry_.numberOfRowsInSection(indexPath.section);
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
    const int maximum = std::max(0, Screen::px(geometry_.contentHeight()) - height());
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
    if (isValid(indexPath)) {
        setContentOffset({0, geometry_.contentOffsetShowingRow(
                                 indexPath, position, contentOffset().y, viewportHeight())});
    }
}

void TableView::scrollContentsBy(int, int) {
    layoutVisibleRows();
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

TableViewCell* TableView::obtainCell(const IndexPath& indexPath) {
    TableViewCell* cell = dataSource_ != nullptr
                              ? dataSource_->tableViewCellForRowAtIndexPath(this, indexPath)
                              : nullptr;
    if (cell == nullptr) {
        cell = new TableViewCell(QString());
    }
    pool_.adopt(cell);
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

void TableView::configureVisibleCells() {
    for (const auto& [indexPath, cell] : pool_.cellsOnScreen()) {
        configureCell(cell, indexPath);
    }
}

void TableView::layoutVisibleRows() {
    if (inLayout_) {
        return;
    }
    inLayout_ = true;
    ensureGeometry();
    const double top = contentOffset().y;
    const std::vector<IndexPath> appearing = pool_.keepCellsForRows(
        geometry_.indexPathsForRowsBetween(top, top + viewportHeight()),
        [this](const IndexPath& indexPath) { return obtainCell(indexPath); });
    for (const auto& [indexPath, cell] : pool_.cellsOnScreen()) {
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
    for (const IndexPath& indexPath : appearing) {
        TableViewCell* cell = pool_.cellForRowAtIndexPath(indexPath);
        if (delegate_ != nullptr) {
            delegate_->tableViewWillDisplayCellForRowAtIndexPath(this, cell, indexPath);
        }
        cell->show();
    }
    placeTableViews(top);
    laidOut_ = true;
    inLayout_ = false;
    viewport()->update();
}

void TableView::placeTableViews(double top) {
    const double width = tableWidth();
    headers_.placeViews(geometry_, top, width);
    if (tableHeaderView_) {
        setFrame(tableHeaderView_, {0, -top, width, frame(tableHeaderView_).height});
    }
    if (tableFooterView_) {
        const double height = frame(tableFooterView_).height;
        setFrame(tableFooterView_, {0, geometry_.contentHeight() - height - top, width, height});
    }
}

TableViewCell* TableView::cellForRowAtIndexPath(const IndexPath& indexPath) {
    if (!laidOut_) {
        layoutVisibleRows();
    }
    return pool_.cellForRowAtIndexPath(indexPath);
}

QList<TableViewCell*> TableView::visibleCells() {
    QList<TableViewCell*> cells;
    for (const IndexPath& indexPath : indexPathsForVisibleRows()) {
        cells.append(pool_.cellForRowAtIndexPath(indexPath));
    }
    return cells;
}

QList<IndexPath> TableView::indexPathsForVisibleRows() {
    if (!laidOut_) {
        layoutVisibleRows();
    }
    QList<IndexPath> paths;
    for (const auto& [indexPath, cell] : pool_.cellsOnScreen()) {
        paths.append(indexPath);
    }
    return paths;
}

// ---- changes ---------------------------------------------------------------------

void TableView::reloadData() {
    pool_.enqueueAllCellsForRows();
    selected_.reset();
    confirming_.reset();
    relayout();
}

void TableView::relayout() {
    invalidate();
    // A hidden table asks its data source when it is shown or first queried.
    relayoutIfShown();
}

void TableView::relayoutIfShown() {
    if (isVisible()) {
        layoutVisibleRows();
    }
}

void TableView::reloadSectionsWithRowAnimation(const QList<int>& sections,
                                               TableViewRowAnimation /*animation*/) {
    pool_.enqueueCellsForRowsIf(
        [&sections](const IndexPath& indexPath) { return sections.contains(indexPath.section); });
    if (selected_ && sections.contains(selected_->section)) {
        selected_.reset();
    }
    relayout();
}

void TableView::reloadRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                       TableViewRowAnimation /*animation*/) {
    pool_.enqueueCellsForRowsIf(
        [&indexPaths](const IndexPath& indexPath) { return indexPaths.contains(indexPath); });
    relayout();
}

void TableView::deleteRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                       TableViewRowAnimation /*animation*/) {
    rowsMoved(indexPaths, -1);
}

void TableView::insertRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                       TableViewRowAnimation /*animation*/) {
    rowsMoved(indexPaths, +1);
}

// Rows below those deleted (direction -1) or inserted (+1) move by one; a deleted
// selected row is no longer selected.
void TableView::rowsMoved(const QList<IndexPath>& changed, int direction) {
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
    confirming_.reset();
    pool_.enqueueAllCellsForRows();
    relayout();
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
    if (TableViewCell* cell = pool_.cellForRowAtIndexPath(indexPath)) {
        cell->setSelectedAnimated(false, animated);
    }
}

void TableView::setEditing(bool editing, bool /*animated*/) {
    if (editing_ == editing) {
        return;
    }
    editing_ = editing;
    hideDeleteConfirmation();
    configureVisibleCells();
}

void TableView::setBackgroundColor(Color color) {
    backgroundColor_ = color;
    viewport()->update();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
    separatorStyle_ = style;
    configureVisibleCells();
}

void TableView::setSeparatorColor(Color color) {
    separatorColor_ = color;
    setSeparatorStyle(separatorStyle_);
}

void TableView::hideDeleteConfirmation() {
    if (!confirming_) {
        return;
    }
    if (TableViewCell* cell = pool_.cellForRowAtIndexPath(*confirming_)) {
        cell->setShowsDeleteConfirmation(false);
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
    if (TableViewCell* shown = cellForRowAtIndexPath(indexPath)) {
        return TableViewTextRenderer::labelTextsInReadingOrder(shown);
    }
    // A row off screen: its cell is made, read and let go at once.
    TableViewCell* cell = obtainCell(indexPath);
    const Rect row = rowRect(indexPath);
    cell->setGeometry(Screen::toPixels({0, 0, row.width, row.height}));
    cell->layoutSubviews();
    const QStringList texts = TableViewTextRenderer::labelTextsInReadingOrder(cell);
    pool_.enqueueReusableCell(cell);
    return texts;
}

QString TableView::renderText() {
    return TableViewTextRenderer::renderText(*this);
}

// ---- painting and touches -------------------------------------------------------

void TableView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    paintTableViewBackground(painter, viewport()->rect(), style_, backgroundColor_);
    if (geometryValid_) {
        painter.setRenderHint(QPainter::TextAntialiasing);
        headers_.paint(painter, geometry_, contentOffset().y, tableWidth(), viewportHeight());
    }
}

void TableView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    gestures_.pressAtPoint(event->position().toPoint());
}

void TableView::mouseMoveEvent(QMouseEvent* event) {
    gestures_.moveToPoint(event->position().toPoint());
}

void TableView::mouseReleaseEvent(QMouseEvent* event) {
    gestures_.releaseAtPoint(event->position().toPoint());
}

void TableView::wheelEvent(QWheelEvent* event) {
    event->setAccepted(gestures_.scrollByWheel(event->pixelDelta(), event->angleDelta()));
}

std::optional<IndexPath> TableView::rowAtPoint(QPoint point) {
    return indexPathForRowAtPoint(
        {Screen::toPoints(point.x()), Screen::toPoints(point.y()) + contentOffset().y});
}

void TableView::highlightRow(const IndexPath& indexPath, bool highlighted) {
    if (highlighted && (editing_ || confirming_ || !allowsSelection_)) {
        return;
    }
    if (TableViewCell* cell = cellForRowAtIndexPath(indexPath)) {
        cell->setHighlighted(highlighted);
    }
}

int TableView::scrollPosition() const {
    return verticalScrollBar()->value();
}

} // namespace ui
