#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollMomentum.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewCellPool.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TableViewGeometry.h"
#include "platform/ui/TableViewGestureRecognizer.h"
#include "platform/ui/TableViewInteraction.h"
#include "platform/ui/TableViewKeyboard.h"
#include "platform/ui/TableViewScroller.h"
#include "platform/ui/TableViewSectionHeaders.h"
#include "platform/ui/TableViewStyle.h"

#include <QAbstractScrollArea>
#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace ui {

class ScrollIndicator;

enum class TableViewRowAnimation { Fade = 0, Right, Left, Top, Bottom, None };
enum class TableViewCellSeparatorStyle { None = 0, SingleLine = 1, SingleLineEtched = 2 };

// A scrolling list of rows in sections. It keeps the geometry of every row (asking
// the delegate for heights once per reload) but has widgets only for the rows on
// screen: cells that scroll away wait in a pool, by reuse identifier, for the data
// source to dequeue them again. The table owns every cell it has. Geometry is in
// points; the content offset is the distance scrolled from the top. A flick sets the
// content coasting (ScrollMomentum), past an end it springs back, and a thin indicator
// shows while the content moves.
class TableView : public QAbstractScrollArea, private TableViewGestureRecognizerDelegate {
    Q_OBJECT

public:
    TableView(Rect frame, TableViewStyle style);
    ~TableView() override;

    void setDataSource(TableViewDataSource* dataSource);
    TableViewDataSource* dataSource() const { return dataSource_; }
    void setDelegate(TableViewDelegate* delegate);
    TableViewDelegate* delegate() const { return delegate_; }
    TableViewStyle style() const { return style_; }

    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height);
    double sectionHeaderHeight() const {
        return sectionHeaderHeight_.value_or(TableViewSectionHeaders::kPlainHeaderHeight);
    }
    void setSectionHeaderHeight(double height);
    // Views above the first and below the last section; the table owns them.
    void setTableHeaderView(QWidget* view);
    QWidget* tableHeaderView() const { return tableHeaderView_; }
    void setTableFooterView(QWidget* view);
    QWidget* tableFooterView() const { return tableFooterView_; }

    // A cell of class `Cell` for a data source to fill and hand back: one that waits
    // under `identifier` (after its prepareForReuse()), or else a new
    // `Cell(arguments..., identifier)`. It belongs to the table.
    template <class Cell = TableViewCell, class... Arguments>
    Cell* dequeueReusableCell(const QString& identifier, Arguments&&... arguments) {
        return pool_.dequeueReusableCell<Cell>(identifier, std::forward<Arguments>(arguments)...);
    }

    void reloadData();
    void reloadSectionsWithRowAnimation(const QList<int>& sections,
                                        TableViewRowAnimation animation);
    void reloadRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                TableViewRowAnimation animation);
    void deleteRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                TableViewRowAnimation animation);
    void insertRowsAtIndexPathsWithRowAnimation(const QList<IndexPath>& indexPaths,
                                                TableViewRowAnimation animation);

    void selectRowAtIndexPathAnimatedScrollPosition(const IndexPath& indexPath, bool animated,
                                                    TableViewScrollPosition position);
    void deselectRowAtIndexPathAnimated(const IndexPath& indexPath, bool animated);
    std::optional<IndexPath> indexPathForSelectedRow() const { return interaction_.selectedRow(); }

    // Visible rows only; nullptr for the others.
    TableViewCell* cellForRowAtIndexPath(const IndexPath& indexPath) override;
    QList<TableViewCell*> visibleCells();
    QList<IndexPath> indexPathsForVisibleRows();
    std::optional<IndexPath> indexPathForRowAtPoint(Point point);
    // The row under a point of the viewport, in pixels, as the content is scrolled now.
    std::optional<IndexPath> indexPathForRowAtViewportPixel(QPoint pixel);
    std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;

    void scrollToRowAtIndexPathAtScrollPositionAnimated(const IndexPath& indexPath,
                                                        TableViewScrollPosition position,
                                                        bool animated);
    Point contentOffset() const;
    void setContentOffset(Point offset);
    void setContentOffsetAnimated(Point offset, bool /*animated*/) { setContentOffset(offset); }
    Size contentSize();
    // In content coordinates (points).
    Rect rectForRowAtIndexPath(const IndexPath& indexPath);
    Rect rectForHeaderInSection(int section);
    QString titleForHeaderInSection(int section);
    int numberOfSections();
    int numberOfRowsInSection(int section);

    void setEditing(bool editing, bool animated);
    bool isEditing() const { return interaction_.isEditing(); }
    // True while content coasts after a flick or springs back from past an end.
    bool isDecelerating() const { return scroller_.isMoving(); }
    bool isDragging() const { return gestures_.isDragging(); }
    const ScrollIndicator* scrollIndicator() const { return indicator_; }
    // The time the content's motion follows: the steady clock unless a test sets its
    // own. Frames come from DelayedPerform, whose timer a test drives as well.
    void setScrollClock(std::function<ScrollMomentum::TimePoint()> clock);
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool isScrollEnabled() const override { return scrollEnabled_; }
    void setBackgroundColor(Color color);
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    TableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorColor(Color color);
    void setAllowsSelection(bool allows) { allowsSelection_ = allows; }
    bool allowsSelection() const { return allowsSelection_; }

    // A user's touch on a row or on its detail-disclosure button: the same selection
    // and delegate calls as a click.
    void tapRowAtIndexPath(const IndexPath& indexPath) override;
    void tapAccessoryAtIndexPath(const IndexPath& indexPath) override;
    // A swipe across an editable row shows its red Delete button; confirming commits
    // the deletion through the data source.
    void swipeToDeleteRowAtIndexPath(const IndexPath& indexPath) override;
    void confirmDeleteAtIndexPath(const IndexPath& indexPath) override;
    std::optional<IndexPath> indexPathShowingDeleteConfirmation() const override {
        return interaction_.rowShowingDeleteConfirmation();
    }

    // The row the keyboard is on (TableViewKeyboard): the last one tapped or moved to
    // with the arrow keys; ringed while the keys move it.
    std::optional<IndexPath> keyboardRow() const { return keyboard_.cursorRow(); }
    bool showsKeyboardRow() const { return keyboard_.showsCursor(); }

    // Every section and row as text, rows off screen too: "-- <header>" (or "--") a
    // section, then a row's label texts in reading order joined by tabs
    // (TableViewTextRenderer).
    QString renderText();
    // The same as a JSON object: {"sections": [{"title", "rows": [[texts]]}]}.
    QJsonObject renderJson();
    QStringList rowTexts(const IndexPath& indexPath);

    // How many cells wait in the reuse pool (all identifiers).
    int reusableCellCount() const { return pool_.count(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TableViewScroller; // moves the content: showOffset, maximumOffset
    void ensureGeometry();
    void rebuildGeometry();
    double headerHeightFor(int section);
    double rowHeightFor(const IndexPath& indexPath);
    bool isValid(const IndexPath& indexPath);
    Rect rowRect(const IndexPath& indexPath) const;
    double tableWidth() const { return Screen::toPoints(width()); }
    double viewportHeight() const { return Screen::toPoints(height()); }
    TableViewGeometry::Column contentColumn() const;
    TableViewGeometry::Column rowColumn() const;

    void layoutVisibleRows();
    void placeTableViews(double top);
    TableViewCell* obtainCell(const IndexPath& indexPath);
    void configureCell(TableViewCell* cell, const IndexPath& indexPath);
    void configureVisibleCells();
    void invalidate();
    void relayout();
    void relayoutIfShown();
    void updateScrollRange();
    void setOffsetPixels(int value);
    double maximumOffset() const;
    // Shows the content at `offset`, beyond the ends too (the scroll bar keeps the part
    // in range, overscroll_ the rest).
    void showOffset(double offset);

    void rowsMoved(const QList<IndexPath>& changed, int direction);

    // TableViewGestureRecognizerDelegate, beside the public operations it shares
    std::optional<IndexPath> rowAtPoint(QPoint point) override;
    void highlightRow(const IndexPath& indexPath, bool highlighted) override;
    int scrollPosition() const override;
    void scrollToPosition(int position) override;
    bool stopScrolling() override;
    void beginDragging() override;
    void endDragging() override;
    void hideDeleteConfirmation() override;

    TableViewStyle style_;
    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* delegate_ = nullptr;
    double rowHeight_ = 44;
    std::optional<double> sectionHeaderHeight_;
    QPointer<QWidget> tableHeaderView_;
    QPointer<QWidget> tableFooterView_;

    TableViewGeometry geometry_;
    TableViewSectionHeaders headers_;
    bool geometryValid_ = false;
    bool laidOut_ = false;
    bool inLayout_ = false;

    TableViewCellPool pool_;
    TableViewInteraction interaction_{this, &pool_};
    bool scrollEnabled_ = true;
    bool allowsSelection_ = true;
    std::optional<Color> backgroundColor_;
    TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::SingleLine;
    Color separatorColor_{0.88, 0.88, 0.88, 1};

    TableViewGestureRecognizer gestures_{this};
    TableViewKeyboard keyboard_{this};
    double overscroll_ = 0; // points past an end, the sign of the offset
    ScrollIndicator* indicator_;
    TableViewScroller scroller_;
};

} // namespace ui
