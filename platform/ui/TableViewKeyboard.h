#pragma once

#include "platform/ui/IndexPath.h"

#include <QPointer>
#include <QRect>

#include <optional>

class QKeyEvent;

namespace ui {

class FocusRing;
class TableView;

// A table's keys: Up and Down move a ringed cursor through the rows, across sections;
// Enter and Return tap the row under it; Home, End, Page Up and Page Down scroll. A
// touch hides the ring and leaves the cursor on the row it tapped, so the keys go on
// from there.
class TableViewKeyboard {
public:
    explicit TableViewKeyboard(TableView* table);

    // True when the key was one of the table's.
    bool keyPressed(const QKeyEvent* event);

    std::optional<IndexPath> cursorRow() const { return cursor_; }
    bool showsCursor() const { return shown_; }
    void rowTapped(const IndexPath& indexPath);
    void touched();

private:
    void moveCursor(int step);
    std::optional<IndexPath> rowAfter(const IndexPath& indexPath, int step) const;
    std::optional<IndexPath> startRow(int step) const;
    bool isRow(const IndexPath& indexPath) const;
    bool cursorOnScreen() const;
    void activate();
    void scrollTo(double offset);
    std::optional<QRect> ringRect() const;
    void repaint();

    TableView* table_;
    QPointer<FocusRing> ring_;
    std::optional<IndexPath> cursor_;
    bool shown_ = false;
};

} // namespace ui
