#include "platform/ui/TableViewAccessibilityElement.h"

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewTextRenderer.h"

#include <QWindow>

namespace ui {

TableViewAccessibilityElement::TableViewAccessibilityElement(TableView* table,
                                                             const IndexPath& indexPath)
    : table_(table), indexPath_(indexPath) {}

bool TableViewAccessibilityElement::isValid() const {
    if (!table_) {
        return false;
    }
    if (isHeader()) {
        return !table_->titleForHeaderInSection(indexPath_.section).isEmpty();
    }
    return indexPath_.row >= 0 &&
           indexPath_.row < table_->numberOfRowsInSection(indexPath_.section);
}

QWindow* TableViewAccessibilityElement::window() const {
    return table_ ? table_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TableViewAccessibilityElement::parent() const {
    return QAccessible::queryAccessibleInterface(table_.data());
}

QString TableViewAccessibilityElement::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !isValid()) {
        return {};
    }
    if (isHeader()) {
        return TableViewTextRenderer::escapedText(
            table_->titleForHeaderInSection(indexPath_.section));
    }
    return TableViewTextRenderer::rowLine(table_->rowTexts(indexPath_));
}

QRect TableViewAccessibilityElement::rect() const {
    if (!isValid()) {
        return {};
    }
    Rect area = isHeader() ? table_->rectForHeaderInSection(indexPath_.section)
                           : table_->rectForRowAtIndexPath(indexPath_);
    area.y -= table_->contentOffset().y;
    const QRect pixels = Screen::toPixels(area);
    return {table_->viewport()->mapToGlobal(pixels.topLeft()), pixels.size()};
}

QAccessible::Role TableViewAccessibilityElement::role() const {
    return isHeader() ? QAccessible::Heading : QAccessible::ListItem;
}

QAccessible::State TableViewAccessibilityElement::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const QRect viewport(table_->viewport()->mapToGlobal(QPoint(0, 0)), table_->viewport()->size());
    state.offscreen = !viewport.intersects(rect());
    if (!isHeader()) {
        state.selectable = table_->allowsSelection();
        state.selected = table_->indexPathForSelectedRow() == indexPath_;
    }
    return state;
}

} // namespace ui
