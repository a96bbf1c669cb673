#pragma once

#include "platform/ui/IndexPath.h"

#include <QPoint>

#include <optional>

namespace ui {

class TableViewCell;

// The table as its gesture recognizer drives it: the same operations a program calls,
// and a few of the table's own. Points are in the pixels of the table's viewport.
class TableViewGestureRecognizerDelegate {
public:
    virtual ~TableViewGestureRecognizerDelegate() = default;

    virtual std::optional<IndexPath> rowAtPoint(QPoint point) = 0;
    // The cell of a row on screen, or nullptr.
    virtual TableViewCell* cellForRowAtIndexPath(const IndexPath& indexPath) = 0;
    // A finger came down on the row (true), or left it, scrolled or lifted (false).
    virtual void highlightRow(const IndexPath& indexPath, bool highlighted) = 0;

    virtual bool isScrollEnabled() const = 0;
    // The distance scrolled from the top, in pixels.
    virtual int scrollPosition() const = 0;
    virtual void scrollToPosition(int position) = 0;
    // A finger came down: content still moving from an earlier flick stops where it is.
    // True when it moved, as such a touch only catches the content: it taps nothing.
    virtual bool stopScrolling() = 0;
    // A finger begins and ends dragging the content; scrollToPosition follows it
    // between the two, and the end may set the content coasting. A finger that caught
    // the content ends, when lifted, as a drag does.
    virtual void beginDragging() = 0;
    virtual void endDragging() = 0;

    virtual void tapRowAtIndexPath(const IndexPath& indexPath) = 0;
    virtual void tapAccessoryAtIndexPath(const IndexPath& indexPath) = 0;
    virtual void swipeToDeleteRowAtIndexPath(const IndexPath& indexPath) = 0;
    virtual std::optional<IndexPath> indexPathShowingDeleteConfirmation() const = 0;
    virtual void confirmDeleteAtIndexPath(const IndexPath& indexPath) = 0;
    virtual void hideDeleteConfirmation() = 0;
};

} // namespace ui
