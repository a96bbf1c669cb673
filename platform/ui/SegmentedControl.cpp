#include "platform/ui/SegmentedControl.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace ui {

SegmentedControl::SegmentedControl(const QStringList& items, QWidget* parent)
    : QWidget(parent), items_(items) {
    setFont(boldSystemFontOfSize(13));
    resize(sizeHint());
}

void SegmentedControl::setTitleForSegmentAtIndex(const QString& title, int index) {
    if (index >= 0 && index < items_.size()) {
        items_[index] = title;
        update();
    }
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    if (index >= NoSegment && index < numberOfSegments()) {
        selected_ = index;
        update();
    }
}

void SegmentedControl::setSegmentedControlStyle(SegmentedControlStyle style) {
    style_ = style;
    setFont(boldSystemFontOfSize(style == SegmentedControlStyle::Bar ? 12 : 13));
    updateGeometry();
    update();
}

void SegmentedControl::setEnabledForSegmentAtIndex(bool enabled, int index) {
    disabled_.removeAll(index);
    if (!enabled) {
        disabled_.append(index);
    }
    update();
}

void SegmentedControl::tapSegmentAtIndex(int index) {
    if (index < 0 || index >= numberOfSegments() || !isEnabledForSegmentAtIndex(index)) {
        return;
    }
    const bool changed = momentary_ || index != selected_;
    selected_ = momentary_ ? NoSegment : index;
    update();
    if (changed && action_) {
        action_();
    }
}

QSize SegmentedControl::sizeHint() const {
    int width = 0;
    for (const QString& item : items_) {
        width = std::max(width, fontMetrics().horizontalAdvance(item));
    }
    const double height = style_ == SegmentedControlStyle::Bar        ? 30
                          : style_ == SegmentedControlStyle::Bordered ? 44
                                                                      : 44;
    return QSize((width + Screen::px(24)) * std::max(1, numberOfSegments()), Screen::px(height));
}

QRectF SegmentedControl::segmentRect(int index) const {
    const double width = static_cast<double>(this->width()) / std::max(1, numberOfSegments());
    return QRectF(index * width, 0, width, height());
}

int SegmentedControl::segmentAt(QPointF position) const {
    for (int i = 0; i < numberOfSegments(); ++i) {
        if (segmentRect(i).contains(position)) {
            return i;
        }
    }
    return NoSegment;
}

void SegmentedControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = segmentAt(event->position());
    if (!isEnabledForSegmentAtIndex(pressed_)) {
        pressed_ = NoSegment;
    }
    update();
}

void SegmentedControl::mouseReleaseEvent(QMouseEvent* event) {
    const int index = segmentAt(event->position());
    const int pressed = pressed_;
    pressed_ = NoSegment;
    if (index != NoSegment && index == pressed) {
        tapSegmentAtIndex(index);
    }
    update();
}

void SegmentedControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = Screen::px(style_ == SegmentedControlStyle::Bar ? 5 : 8);
    QPainterPath outline;
    outline.addRoundedRect(box, radius, radius);
    const bool bar = style_ == SegmentedControlStyle::Bar;
    painter.fillPath(outline, bar ? QColor(110, 130, 160) : QColor(Qt::white));
    painter.setClipPath(outline);
    for (int i = 0; i < numberOfSegments(); ++i) {
        const QRectF segment = segmentRect(i);
        const bool on = i == selected_ || i == pressed_;
        if (on) {
            QLinearGradient gradient(segment.topLeft(), segment.bottomLeft());
            gradient.setColorAt(0, bar ? QColor(80, 110, 160) : QColor(45, 120, 245));
            gradient.setColorAt(1, bar ? QColor(40, 70, 120) : QColor(20, 80, 215));
            painter.fillRect(segment, gradient);
        }
        QColor ink = on || bar ? QColor(Qt::white) : QColor(80, 80, 80);
        if (!isEnabledForSegmentAtIndex(i)) {
            ink.setAlpha(100);
        }
        painter.setPen(ink);
        painter.setFont(font());
        painter.drawText(segment, Qt::AlignCenter, items_[i]);
        if (i > 0) {
            painter.setPen(QPen(QColor(140, 140, 140), 1));
            painter.drawLine(segment.topLeft(), segment.bottomLeft());
        }
    }
    painter.setClipping(false);
    painter.setPen(QPen(bar ? QColor(40, 50, 70) : QColor(140, 140, 140), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
}

} // namespace ui
