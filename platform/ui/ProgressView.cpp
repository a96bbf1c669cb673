#include "platform/ui/ProgressView.h"

#include "platform/ui/Geometry.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ui {

ProgressView::ProgressView(ProgressViewStyle style, QWidget* parent)
    : QWidget(parent), style_(style) {
    resize(sizeHint());
}

void ProgressView::setProgress(float progress) {
    progress_ = std::isnan(progress) ? 0.0f : std::clamp(progress, 0.0f, 1.0f);
    update();
}

void ProgressView::setProgressViewStyle(ProgressViewStyle style) {
    style_ = style;
    update();
}

QSize ProgressView::sizeHint() const {
    return QSize(Screen::px(150), Screen::px(style_ == ProgressViewStyle::Bar ? 11 : 9));
}

void ProgressView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = box.height() / 2;
    const bool bar = style_ == ProgressViewStyle::Bar;
    QLinearGradient track(box.topLeft(), box.bottomLeft());
    track.setColorAt(0, bar ? QColor(60, 60, 60) : QColor(200, 200, 200));
    track.setColorAt(1, bar ? QColor(110, 110, 110) : QColor(250, 250, 250));
    painter.setPen(QPen(bar ? QColor(30, 30, 30) : QColor(130, 130, 130), 1));
    painter.setBrush(track);
    painter.drawRoundedRect(box, radius, radius);
    if (progress_ <= 0) {
        return;
    }
    QRectF filled = box;
    filled.setWidth(std::max(box.height(), box.width() * progress_));
    QLinearGradient fill(filled.topLeft(), filled.bottomLeft());
    fill.setColorAt(0, bar ? QColor(230, 230, 230) : QColor(120, 170, 240));
    fill.setColorAt(1, bar ? QColor(170, 170, 170) : QColor(30, 90, 210));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(filled, radius, radius);
}

} // namespace ui
