#include "platform/ui/BarPainting.h"

#include <QLinearGradient>
#include <QPainter>

namespace ui {

void paintBarBackground(QPainter& painter, const QRect& box, BarStyle style) {
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    if (style == BarStyle::Default) {
        gradient.setColorAt(0, QColor(176, 188, 205));
        gradient.setColorAt(0.5, QColor(136, 155, 179));
        gradient.setColorAt(0.51, QColor(128, 148, 173));
        gradient.setColorAt(1, QColor(109, 132, 162));
    } else {
        const int alpha = style == BarStyle::BlackTranslucent ? 190 : 255;
        gradient.setColorAt(0, QColor(90, 90, 90, alpha));
        gradient.setColorAt(0.5, QColor(40, 40, 40, alpha));
        gradient.setColorAt(0.51, QColor(10, 10, 10, alpha));
        gradient.setColorAt(1, QColor(0, 0, 0, alpha));
    }
    painter.fillRect(box, gradient);
    painter.setPen(style == BarStyle::Default ? QColor(45, 54, 66) : QColor(0, 0, 0));
    painter.drawLine(box.bottomLeft(), box.bottomRight());
}

} // namespace ui
