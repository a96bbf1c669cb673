#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QPointer>

#include <map>
#include <optional>
#include <vector>

namespace ui {

enum class TableViewStyle { Plain = 0, Grouped = 1 };
enum class TableViewRowAnimation { Fade = 0, Right, Left, Top, Bottom, None };
enum class TableViewScrollPosition { None = 0, Top, Middle, Bottom };
enum class TableViewCellSeparatorStyle { None = 0, SingleLine = 1, SingleLineEtched = 2 };

// A scrolling list of rows in sections. It keeps the geometry of every row (asking
// the delegate for heights once per reload) but has widgets only for the rows on
// screen: cells that scroll away wait in a pool, by reuse identifier, for the data
// source to take them again. Geometry is in points; the content offset is the
// distance scrolled from the top.
class TableView : public QAbstractScrollArea {
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
    double sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(double height);
    // Views above the first and below the last section; the table owns them.
    void setTableHeaderView(QWidget* view);
    QWidget* tableHeaderView() const { return tableHeaderView_; }
    void setTableFooterView(QWidget* view);
    QWidget* tableFooterView() const { return tableFooterView_; }

    // A cell from the pool (after its prepareForReuse()), or nullptr.
    TableViewCell* dequeueReusableCellWithIdentifier(const QString& identifier);

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
    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }

    // Visible rows only; nullptr for the others.
    TableViewCell* cellForRowAtIndexPath(const IndexPath& indexPath);
    QList<TableViewCell*> visibleCells();
    QList<IndexPath> indexPathsForVisibleRows();
    std::optional<IndexPath> indexPathForRowAtPoint(Point point);
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
    int numberOfSections();
    int numberOfRowsInSection(int section);

    void setEditing(bool editing, bool animated);
    bool isEditing() const { return editing_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setBackgroundColor(Color color);
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    TableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorColor(Color color);
    void setAllowsSelection(bool allows) { allowsSelection_ = allows; }
    bool allowsSelection() const { return allowsSelection_; }

    // A user's touch on a row or on its detail-disclosure button: the same selection
    // and delegate calls as a click.
    void tapRowAtIndexPath(const IndexPath& indexPath);
    void tapAccessoryAtIndexPath(const IndexPath& indexPath);
    // A swipe across an editable row shows its red Delete button; confirming commits
    // the deletion through the data source.
    void swipeToDeleteRowAtIndexPath(const IndexPath& indexPath);
    void confirmDeleteAtIndexPath(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathShowingDeleteConfirmation() const { return confirming_; }

    // Every section and row as text, rows off screen too: "-- <header>" (or "--") a
    // section, then a row's label texts in reading order joined by tabs.
    QString renderText();
    QStringList rowTexts(const IndexPath& indexPath);

    // How many cells wait in the reuse pool (all identifiers).
    int reusableCellCount() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Section {
        double top = 0;
        double headerHeight = 0;
        double footerHeight = 0;
        QString title;
        QPointer<QWidget> headerView;
        std::vector<double> rowTops; // relative to the first row; one more than rows
        double rowsTop() const { return top + headerHeight; }
        double bottom() const { return rowsTop() + rowTops.back() + footerHeight; }
        int rows() const { return static_cast<int>(rowTops.size()) - 1; }
    };

    void ensureGeometry();
    void rebuildGeometry();
    double headerHeightFor(int section, const QString& title, QWidget* view);
    double rowHeightFor(const IndexPath& indexPath);
    bool isValid(const IndexPath& indexPath);
    Rect rowRect(const IndexPath& indexPath) const;
    double tableWidth() const;
    double viewportHeight() const;
    double rowX() const;
    double rowWidth() const;

    void layoutVisibleRows();
    void placeHeaderViews(double top, double bottom);
    TableViewCell* obtainCell(const IndexPath& indexPath);
    void adopt(TableViewCell* cell);
    void configureCell(TableViewCell* cell, const IndexPath& indexPath);
    void recycle(TableViewCell* cell);
    void recycleAllVisible();
    void invalidate();
    void relayoutIfShown();
    void updateScrollRange();
    void setOffsetPixels(int value);

    TableViewCell::GroupPosition groupPositionFor(const IndexPath& indexPath) const;
    void shiftSelection(const QList<IndexPath>& changed, int direction);
    void hideDeleteConfirmation();
    void paintHeader(QPainter& painter, int section, double offset);
    void handleClick(QPoint position);

    TableViewStyle style_;
    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* delegate_ = nullptr;
    double rowHeight_ = 44;
    double sectionHeaderHeight_ = 22;
    bool sectionHeaderHeightSet_ = false;
    QPointer<QWidget> tableHeaderView_;
    QPointer<QWidget> tableFooterView_;

    std::vector<Section> sections_;
    double contentHeight_ = 0;
    bool geometryValid_ = false;
    bool laidOut_ = false;
    bool inLayout_ = false;

    std::map<IndexPath, QPointer<TableViewCell>> visible_;
    QHash<QString, QList<QPointer<TableViewCell>>> pool_;
    QList<QPointer<TableViewCell>> detached_;
    std::optional<IndexPath> selected_;
    std::optional<IndexPath> confirming_;
    bool editing_ = false;
    bool scrollEnabled_ = true;
    bool allowsSelection_ = true;
    std::optional<Color> backgroundColor_;
    TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::SingleLine;
    Color separatorColor_{0.88, 0.88, 0.88, 1};

    // Mouse tracking: a press becomes a tap, a drag (scroll) or a swipe.
    QPoint pressPosition_;
    int pressOffset_ = 0;
    bool pressed_ = false;
    bool dragging_ = false;
    std::optional<IndexPath> pressedRow_;
};

} // namespace ui
