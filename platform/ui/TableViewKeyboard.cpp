#include "platform/ui/TableViewKeyboard.h"

#include "platform/ui/FocusRing.h"
#include "platform/ui/TableView.h"

#include <QKeyEvent>

#include <algorithm>

namespace ui {

TableViewKeyboard::TableViewKeyboard(TableView* table) : table_(table) {
    ring_ = new FocusRing(table, table->viewport(), [this] { return ringRect(); });
}

bool TableViewKeyboard::keyPressed(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const double offset = table_->contentOffset().y;
    const double page = Screen::toPoints(table_->viewport()->height());
    switch (event->key()) {
    case Qt::Key_Up:
        moveCursor(-1);
        return true;
    case Qt::Key_Down:
        moveCursor(+1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activate();
        return true;
    case Qt::Key_Home:
        scrollTo(0);
        return true;
    case Qt::Key_End:
        scrollTo(table_->contentSize().height);
        return true;
    case Qt::Key_PageUp:
        scrollTo(offset - page);
        return true;
    case Qt::Key_PageDown:
        scrollTo(offset + page);
        return true;
    default:
        return false;
    }
}

void TableViewKeyboard::rowTapped(const IndexPath& indexPath) {
    cursor_ = indexPath;
    repaint();
}

void TableViewKeyboard::touched() {
    if (shown_) {
        shown_ = false;
        repaint();
    }
}

std::optional<IndexPath> TableViewKeyboard::rowAfter(const IndexPath& indexPath, int step) const {
    const int sections = table_->numberOfSections();
    IndexPath next{indexPath.section, indexPath.row + step};
    while (next.section >= 0 && next.section < sections) {
        const int rows = table_->numberOfRowsInSection(next.section);
        if (next.row >= 0 && next.row < rows) {
            return next;
        }
        // On into the next section with rows, at its first (down) or last (up) row.
        next.section += step;
        if (next.section >= 0 && next.section < sections) {
            next.row = step > 0 ? 0 : table_->numberOfRowsInSection(next.section) - 1;
        }
    }
    return std::nullopt;
}

bool TableViewKeyboard::isRow(const IndexPath& indexPath) const {
    return indexPath.section >= 0 && indexPath.section < table_->numberOfSections() &&
           indexPath.row >= 0 && indexPath.row < table_->numberOfRowsInSection(indexPath.section);
}

bool TableViewKeyboard::cursorOnScreen() const {
    return cursor_ && table_->indexPathsForVisibleRows().contains(*cursor_);
}

// With no cursor on screen the keys start at the first row wholly in view (down) or
// the last one (up).
std::optional<IndexPath> TableViewKeyboard::startRow(int step) const {
    QList<IndexPath> visible = table_->indexPathsForVisibleRows();
    std::sort(visible.begin(), visible.end());
    const double top = table_->contentOffset().y;
    const double bottom = top + Screen::toPoints(table_->viewport()->height());
    QList<IndexPath> whole;
    for (const IndexPath& indexPath : visible) {
        const Rect row = table_->rectForRowAtIndexPath(indexPath);
        if (row.y >= top && row.y + row.height <= bottom) {
            whole.append(indexPath);
        }
    }
    const QList<IndexPath>& candidates = whole.isEmpty() ? visible : whole;
    if (candidates.isEmpty()) {
        return std::nullopt;
    }
    return step > 0 ? candidates.first() : candidates.last();
}

void TableViewKeyboard::moveCursor(int step) {
    std::optional<IndexPath> next = cursorOnScreen() ? rowAfter(*cursor_, step) : startRow(step);
    if (!next) {
        // At either end the cursor stays, and shows.
        next = cursorOnScreen() ? cursor_ : std::nullopt;
    }
    if (!next) {
        return;
    }
    cursor_ = next;
    shown_ = true;
    table_->scrollToRowAtIndexPathAtScrollPositionAnimated(*cursor_, TableViewScrollPosition::None,
                                                           false);
    repaint();
}

void TableViewKeyboard::activate() {
    if (!cursor_ || !shown_ || !isRow(*cursor_)) {
        return;
    }
    table_->tapRowAtIndexPath(*cursor_);
}

void TableViewKeyboard::scrollTo(double offset) {
    table_->setContentOffset({0, std::max(0.0, offset)});
    repaint();
}

std::optional<QRect> TableViewKeyboard::ringRect() const {
    if (!cursor_ || !shown_) {
        return std::nullopt;
    }
    if (!isRow(*cursor_)) {
        return std::nullopt;
    }
    Rect row = table_->rectForRowAtIndexPath(*cursor_);
    row.y -= table_->contentOffset().y;
    return Screen::toPixels(row);
}

void TableViewKeyboard::repaint() {
    if (ring_) {
        ring_->update();
    }
}

} // namespace ui
