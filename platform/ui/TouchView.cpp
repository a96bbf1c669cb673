#include "platform/ui/TouchView.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTouchEvent>

namespace ui {

namespace {
Point toPoints(QPointF position) {
    return {position.x() / Screen::scale(), position.y() / Screen::scale()};
}
} // namespace

TouchView::TouchView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_AcceptTouchEvents);
}

double TouchView::secondsOf(const QInputEvent* event) {
    if (event->timestamp() != 0) {
        return event->timestamp() / 1000.0;
    }
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return clock.nsecsElapsed() / 1e9;
}

void TouchView::begin(double seconds, QPointF position) {
    if (tracking_) {
        cancel();
    }
    const Point location = toPoints(position);
    current_ = Touch{counter_.registerTap(seconds, location), location};
    tracking_ = true;
    touchesBegan(current_);
}

void TouchView::move(QPointF position) {
    if (tracking_) {
        current_.locationInView = toPoints(position);
        touchesMoved(current_);
    }
}

void TouchView::end(QPointF position) {
    if (tracking_) {
        tracking_ = false;
        current_.locationInView = toPoints(position);
        touchesEnded(current_);
    }
}

void TouchView::cancel() {
    if (tracking_) {
        tracking_ = false;
        touchesCancelled(current_);
    }
}

bool TouchView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        auto* touch = static_cast<QTouchEvent*>(event);
        if (touch->points().isEmpty()) {
            return true;
        }
        const QPointF position = touch->points().first().position();
        if (event->type() == QEvent::TouchBegin) {
            begin(secondsOf(touch), position);
        } else if (event->type() == QEvent::TouchUpdate) {
            move(position);
        } else {
            end(position);
        }
        event->accept();
        return true;
    }
    case QEvent::TouchCancel:
    case QEvent::Hide:
        cancel();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TouchView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        begin(secondsOf(event), event->position());
    }
}

void TouchView::mouseMoveEvent(QMouseEvent* event) {
    move(event->position());
}

void TouchView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        end(event->position());
    }
}

} // namespace ui
