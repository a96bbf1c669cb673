#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewGestureRecognizerDelegate.h"

#include <QPoint>

#include <optional>

namespace ui {

// Makes the gestures of a table out of the presses, moves and releases on it (a touch
// comes as the mouse events Qt makes of it) and of its wheel. A press lifted without
// moving far is a tap on what lies under it: the row, its detail-disclosure button,
// its delete control or Delete button; a move up or down past a few points drags the
// content along; a move sideways past a swipe's length swipes the row the press began
// on. A press that stops content still coasting from a flick only catches it: it drags
// but never taps. The delegate, the table, does what each gesture means.
class TableViewGestureRecognizer {
public:
    // Points a press moves vertically before it drags the content.
    static constexpr double kDragThreshold = 8;
    // Points a press moves sideways before it swipes its row.
    static constexpr double kSwipeDistance = 40;
    // Points scrolled by one step of a wheel.
    static constexpr double kWheelStep = 66;

    explicit TableViewGestureRecognizer(TableViewGestureRecognizerDelegate* delegate);

    void pressAtPoint(QPoint point);
    void moveToPoint(QPoint point);
    void releaseAtPoint(QPoint point);
    // A wheel turned by `angleDelta` (eighths of a degree) or, on a touchpad, moved by
    // `pixelDelta`. False when the table cannot scroll.
    bool scrollByWheel(QPoint pixelDelta, QPoint angleDelta);

    bool isTracking() const { return pressed_; }
    bool isDragging() const { return dragging_; }

private:
    void unhighlight();
    void tapAtPoint(QPoint point);
    // A tap while a row shows its Delete button: on the button it deletes, anywhere
    // else it takes the button away.
    void tapWhileConfirmingAtPoint(const IndexPath& confirming, QPoint point);

    TableViewGestureRecognizerDelegate* delegate_;
    QPoint pressPoint_;
    int pressScrollPosition_ = 0;
    bool pressed_ = false;
    bool dragging_ = false;
    bool caught_ = false; // the press stopped moving content
    std::optional<IndexPath> pressedRow_;
};

} // namespace ui
