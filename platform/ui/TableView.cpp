#include "platform/ui/TableView.h"

#include "platform/ui/ScrollIndicator.h"
#include "platform/ui/TableViewAccessibility.h"
#include "platform/ui/TableViewPainting.h"
#include "platform/ui/TableViewTextRenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

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
    : style_(style), headers_(viewport(), style), pool_(viewport()),
      indicator_(new ScrollIndicator(viewport())), scroller_(*this, *indicator_) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    if (style == TableViewStyle::Grouped) {
        separatorColor_ = Color{0.67, 0.67, 0.67, 1};
    }
    setFrame(this, frame);
    TableViewAccessibility::installFactory();
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
    const double asked = delegate_ != nullptr
                             ? delegate_->tableViewHeightForHeaderInSection(this, section)
                             : TableViewDelegate::automaticHeight;
    return asked >= 0 ? asked : headers_.automaticHeight(section, sectionHeaderHeight_);
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

TableViewGeometry::Column TableView::contentColumn() const {
    return TableViewGeometry::contentColumn(tableWidth());
}

TableViewGeometry::Column TableView::rowColumn() const {
    return TableViewGeometry::rowColumn(style_, tableWidth());
}

bool TableView::isValid(const IndexPath& indexPath) {
    ensureGeometry();
    return geometry_.contains(indexPath);
}

Rect TableView::rowRect(const IndexPath& indexPath) const {
    const TableViewGeometry::Span row = geometry_.rowSpan(indexPath);
    const TableViewGeometry::Column across = rowColumn();
    return {across.left, row.top, across.width, row.height};
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
    const TableViewGeometry::Column across = contentColumn();
    return {across.left, header.top, across.width, header.height};
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

// ---- scrolling -------------------------------------------------------------------

void TableView::updateScrollRange() {
    const int maximum = std::max(0, Screen::px(geometry_.contentHeight()) - height());
    verticalScrollBar()->setPageStep(std::max(1, height()));
    verticalScrollBar()->setSingleStep(std::max(1, Screen::px(rowHeight_)));
    verticalScrollBar()->setRange(0, maximum);
    if (!scroller_.isMoving() && !isDragging()) {
        overscroll_ = 0; // content at rest lies within its ends, whatever the new ones
    }
}

void TableView::setOffsetPixels(int value) {
    verticalScrollBar()->setValue(value);
}

Point TableView::contentOffset() const {
    return {0, Screen::toPoints(verticalScrollBar()->value()) + overscroll_};
}

void TableView::setContentOffset(Point offset) {
    ensureGeometry();
    updateScrollRange();
    scroller_.halt();
    overscroll_ = 0;
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

double TableView::maximumOffset() const {
    return Screen::toPoints(verticalScrollBar()->maximum());
}

void TableView::showOffset(double offset) {
    const int inRange = std::clamp(Screen::px(offset), 0, verticalScrollBar()->maximum());
    const bool atAnEnd = offset < 0 || inRange == verticalScrollBar()->maximum();
    const double beyond = atAnEnd ? offset - Screen::toPoints(inRange) : 0;
    const bool shifted = beyond != overscroll_;
    overscroll_ = beyond;
    if (inRange != verticalScrollBar()->value()) {
        setOffsetPixels(inRange);
    } else if (shifted) {
        layoutVisibleRows();
    }
}

void TableView::setScrollClock(std::function<ScrollMomentum::TimePoint()> clock) {
    scroller_.setClock(std::move(clock));
}

// Finger positions: past an end the content moves less than the finger
// (ScrollMomentum::resisted), so a press there reads the position the finger would have.
int TableView::scrollPosition() const {
    return Screen::px(ScrollMomentum::unresisted(contentOffset().y, 0, maximumOffset()));
}

void TableView::scrollToPosition(int position) {
    const double offset = Screen::toPoints(position);
    gestures_.isDragging() ? scroller_.dragTo(offset) : scroller_.wheelTo(offset);
}

bool TableView::stopScrolling() {
    return scroller_.stop();
}

void TableView::beginDragging() {
    scroller_.beginDrag();
}

void TableView::endDragging() {
    scroller_.endDrag();
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
    cell->setGroupPosition(
        style_ == TableViewStyle::Grouped
            ? TableViewCell::groupPositionOfRow(indexPath.row,
                                                geometry_.numberOfRowsInSection(indexPath.section))
            : TableViewCell::GroupPosition::None);
    cell->setSeparator(separatorStyle_ != TableViewCellSeparatorStyle::None,
                       separatorColor_.toQColor());
    interaction_.configureCell(cell, indexPath);
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
    indicator_->place(top, geometry_.contentHeight());
    laidOut_ = true;
    inLayout_ = false;
    viewport()->update();
}

void TableView::placeTableViews(double top) {
    const TableViewGeometry::Column across = contentColumn();
    headers_.placeViews(geometry_, top, across);
    if (tableHeaderView_) {
        setFrame(tableHeaderView_,
                 {across.left, -top, across.width, frame(tableHeaderView_).height});
    }
    if (tableFooterView_) {
        const double height = frame(tableFooterView_).height;
        setFrame(tableFooterView_,
                 {across.left, geometry_.contentHeight() - height - top, across.width, height});
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
    interaction_.forgetRows();
    relayout();
    if (QAccessible::isActive()) {
        QAccessibleEvent rowsChanged(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&rowsChanged);
    }
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
    interaction_.forgetSections(sections);
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

void TableView::rowsMoved(const QList<IndexPath>& changed, int direction) {
    interaction_.moveRows(changed, direction);
    pool_.enqueueAllCellsForRows();
    relayout();
}

// ---- selection and editing -----------------------------------------------------

void TableView::selectRowAtIndexPathAnimatedScrollPosition(const IndexPath& indexPath,
                                                           bool animated,
                                                           TableViewScrollPosition position) {
    interaction_.selectRow(indexPath, animated, position);
}

void TableView::deselectRowAtIndexPathAnimated(const IndexPath& indexPath, bool animated) {
    interaction_.deselectRow(indexPath, animated);
}

void TableView::setEditing(bool editing, bool /*animated*/) {
    if (interaction_.setEditing(editing)) {
        configureVisibleCells();
    }
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
    interaction_.hideDeleteConfirmation();
}

void TableView::tapRowAtIndexPath(const IndexPath& indexPath) {
    keyboard_.rowTapped(indexPath);
    interaction_.tapRow(indexPath);
}

void TableView::tapAccessoryAtIndexPath(const IndexPath& indexPath) {
    interaction_.tapAccessory(indexPath);
}

void TableView::swipeToDeleteRowAtIndexPath(const IndexPath& indexPath) {
    interaction_.swipeToDeleteRow(indexPath);
}

void TableView::confirmDeleteAtIndexPath(const IndexPath& indexPath) {
    interaction_.confirmDelete(indexPath);
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

QJsonObject TableView::renderJson() {
    return TableViewTextRenderer::renderJson(*this);
}

// ---- painting and touches -------------------------------------------------------

void TableView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    paintTableViewBackground(painter, viewport()->rect(), style_, backgroundColor_);
    if (geometryValid_) {
        painter.setRenderHint(QPainter::TextAntialiasing);
        headers_.paint(painter, geometry_, contentOffset().y, contentColumn(), viewportHeight());
    }
}

void TableView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    keyboard_.touched();
    gestures_.pressAtPoint(event->position().toPoint());
}

void TableView::keyPressEvent(QKeyEvent* event) {
    // Keys the table does not use go on to the screens around it (QAbstractScrollArea
    // would take the arrows with modifiers too).
    event->setAccepted(keyboard_.keyPressed(event));
}

void TableView::mouseMoveEvent(QMouseEvent* event) {
    gestures_.moveToPoint(event->position().toPoint());
}

void TableView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore(); // another button let go does not end the left one's drag
        return;
    }
    gestures_.releaseAtPoint(event->position().toPoint());
}

void TableView::wheelEvent(QWheelEvent* event) {
    event->setAccepted(gestures_.scrollByWheel(event->pixelDelta(), event->angleDelta()));
}

std::optional<IndexPath> TableView::indexPathForRowAtViewportPixel(QPoint pixel) {
    // Beside the column of a wide window there are no rows.
    const TableViewGeometry::Column across = contentColumn();
    const double x = Screen::toPoints(pixel.x());
    if (x < across.left || x >= across.left + across.width) {
        return std::nullopt;
    }
    return indexPathForRowAtPoint(
        {Screen::toPoints(pixel.x()), Screen::toPoints(pixel.y()) + contentOffset().y});
}

std::optional<IndexPath> TableView::rowAtPoint(QPoint point) {
    return indexPathForRowAtViewportPixel(point);
}

void TableView::highlightRow(const IndexPath& indexPath, bool highlighted) {
    interaction_.highlightRow(indexPath, highlighted);
}

} // namespace ui
