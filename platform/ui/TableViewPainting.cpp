#include "platform/ui/TableViewPainting.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace ui {

namespace {

QBrush pinstripeBrush() {
    const int period = std::max(2, Screen::px(7));
    QPixmap tile(period, 8);
    tile.fill(QColor(197, 204, 212));
    QPainter painter(&tile);
    painter.fillRect(0, 0, std::max(1, period * 4 / 7), 8, QColor(203, 210, 216));
    return QBrush(tile);
}

// The title twice, the first one offset by a pixel as its engraved shadow.
void drawEngravedText(QPainter& painter, const QRect& box, Qt::Alignment alignment,
                      const QString& text, const QColor& shadow, const QColor& color) {
    painter.setPen(shadow);
    painter.drawText(box.translated(0, 1), alignment, text);
    painter.setPen(color);
    painter.drawText(box, alignment, text);
}

} // namespace

void paintTableViewBackground(QPainter& painter, const QRect& box, TableViewStyle style,
                              const std::optional<Color>& color) {
    if (color) {
        painter.fillRect(box, color->toQColor());
    } else if (style == TableViewStyle::Grouped) {
        painter.fillRect(box, pinstripeBrush());
    } else {
        painter.fillRect(box, Qt::white);
    }
}

void paintTableViewSectionHeader(QPainter& painter, const QRect& box, TableViewStyle style,
                                 const QString& title) {
    if (style == TableViewStyle::Plain) {
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, QColor(144, 159, 170));
        gradient.setColorAt(0.05, QColor(165, 177, 186));
        gradient.setColorAt(1, QColor(184, 193, 200));
        painter.fillRect(box, gradient);
        painter.setFont(boldSystemFontOfSize(18));
        const QRect text = box.adjusted(Screen::px(12), 0, -Screen::px(12), 0);
        drawEngravedText(painter, text, Qt::AlignLeft | Qt::AlignVCenter, title,
                         QColor(90, 100, 110), Qt::white);
        return;
    }
    painter.setFont(boldSystemFontOfSize(17));
    const QRect text = box.adjusted(Screen::px(20), 0, -Screen::px(20), -Screen::px(8));
    drawEngravedText(painter, text, Qt::AlignLeft | Qt::AlignBottom, title, Qt::white,
                     QColor(77, 87, 107));
}

} // namespace ui
