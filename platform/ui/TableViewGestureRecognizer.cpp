#include "platform/ui/TableViewGestureRecognizer.h"

#include "platform/ui/Geometry.h"
#include "platform/ui/TableViewCell.h"

#include <cstdlib>

namespace ui {

TableViewGestureRecognizer::TableViewGestureRecognizer(TableViewGestureRecognizerDelegate* delegate)
    : delegate_(delegate) {}

void TableViewGestureRecognizer::pressAtPoint(QPoint point) {
    pressed_ = true;
    dragging_ = false;
    pressPoint_ = point;
    caught_ = delegate_->stopScrolling();
    pressScrollPosition_ = delegate_->scrollPosition();
    pressedRow_ = caught_ ? std::nullopt : delegate_->rowAtPoint(point);
    if (pressedRow_) {
        delegate_->highlightRow(*pressedRow_, true);
    }
}

void TableViewGestureRecognizer::moveToPoint(QPoint point) {
    if (!pressed_) {
        return;
    }
    const QPoint moved = point - pressPoint_;
    const bool sideways = std::abs(moved.x()) > std::abs(moved.y());
    if (!dragging_ && sideways && std::abs(moved.x()) > Screen::px(kSwipeDistance)) {
        unhighlight();
        pressed_ = false;
        if (pressedRow_) {
            delegate_->swipeToDeleteRowAtIndexPath(*pressedRow_);
        }
        return;
    }
    if (!dragging_ && !sideways && std::abs(moved.y()) > Screen::px(kDragThreshold)) {
        dragging_ = true;
        unhighlight();
        if (delegate_->isScrollEnabled()) {
            delegate_->beginDragging();
        }
    }
    if (dragging_ && delegate_->isScrollEnabled()) {
        delegate_->scrollToPosition(pressScrollPosition_ - moved.y());
    }
}

void TableViewGestureRecognizer::releaseAtPoint(QPoint point) {
    if (pressed_ && !dragging_ && !caught_) {
        unhighlight();
        tapAtPoint(point);
    }
    if (pressed_ && (dragging_ || caught_) && delegate_->isScrollEnabled()) {
        delegate_->endDragging();
    }
    pressed_ = false;
    dragging_ = false;
}

bool TableViewGestureRecognizer::scrollByWheel(QPoint pixelDelta, QPoint angleDelta) {
    if (!delegate_->isScrollEnabled()) {
        return false;
    }
    const int delta = !pixelDelta.isNull()
                          ? pixelDelta.y()
                          : static_cast<int>(angleDelta.y() / 120.0 * Screen::px(kWheelStep));
    delegate_->scrollToPosition(delegate_->scrollPosition() - delta);
    return true;
}

void TableViewGestureRecognizer::unhighlight() {
    if (pressedRow_) {
        delegate_->highlightRow(*pressedRow_, false);
    }
}

void TableViewGestureRecognizer::tapAtPoint(QPoint point) {
    if (const auto confirming = delegate_->indexPathShowingDeleteConfirmation()) {
        tapWhileConfirmingAtPoint(*confirming, point);
        return;
    }
    const std::optional<IndexPath> row = delegate_->rowAtPoint(point);
    TableViewCell* cell = row ? delegate_->cellForRowAtIndexPath(*row) : nullptr;
    if (cell == nullptr) {
        return;
    }
    switch (cell->partAtPoint(point - cell->pos())) {
    case TableViewCell::Part::DeleteControl:
        delegate_->swipeToDeleteRowAtIndexPath(*row);
        break;
    case TableViewCell::Part::DetailDisclosureButton:
        delegate_->tapAccessoryAtIndexPath(*row);
        break;
    case TableViewCell::Part::Row:
    case TableViewCell::Part::DeleteButton:
        delegate_->tapRowAtIndexPath(*row);
        break;
    }
}

void TableViewGestureRecognizer::tapWhileConfirmingAtPoint(const IndexPath& confirming,
                                                           QPoint point) {
    TableViewCell* cell = delegate_->cellForRowAtIndexPath(confirming);
    const bool onButton =
        cell != nullptr && delegate_->rowAtPoint(point) == confirming &&
        cell->partAtPoint(point - cell->pos()) == TableViewCell::Part::DeleteButton;
    if (onButton) {
        delegate_->confirmDeleteAtIndexPath(confirming);
    } else {
        delegate_->hideDeleteConfirmation();
    }
}

} // namespace ui
