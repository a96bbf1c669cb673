#include "platform/ui/TableViewPainting.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace ui {

namespace {

const QColor kPinstripeDark(197, 204, 212);
const QColor kPinstripeLight(203, 210, 216);
// The plain header's bar, top to bottom.
const QColor kPlainHeaderTop(144, 159, 170);
const QColor kPlainHeaderUpper(165, 177, 186);
const QColor kPlainHeaderBottom(184, 193, 200);

QBrush pinstripeBrush() {
    const int period = std::max(2, Screen::px(7));
    QPixmap tile(period, 8);
    tile.fill(kPinstripeDark);
    QPainter painter(&tile);
    painter.fillRect(0, 0, std::max(1, period * 4 / 7), 8, kPinstripeLight);
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

SectionHeaderColors sectionHeaderColors(TableViewStyle style) {
    // Dark titles: white ones on the light bar were hard to read.
    if (style == TableViewStyle::Plain) {
        return {QColor(38, 44, 52),
                QColor(255, 255, 255, 150),
                {kPlainHeaderTop, kPlainHeaderUpper, kPlainHeaderBottom}};
    }
    return {QColor(60, 70, 90), Qt::white, {kPinstripeDark, kPinstripeLight}};
}

void paintTableViewSectionHeader(QPainter& painter, const QRect& box, TableViewStyle style,
                                 const QString& title) {
    const SectionHeaderColors colors = sectionHeaderColors(style);
    if (style == TableViewStyle::Plain) {
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, kPlainHeaderTop);
        gradient.setColorAt(0.05, kPlainHeaderUpper);
        gradient.setColorAt(1, kPlainHeaderBottom);
        painter.fillRect(box, gradient);
        painter.setFont(boldSystemFontOfSize(18));
        const QRect text = box.adjusted(Screen::px(12), 0, -Screen::px(12), 0);
        drawEngravedText(painter, text, Qt::AlignLeft | Qt::AlignVCenter, title, colors.shadow,
                         colors.title);
        return;
    }
    painter.setFont(boldSystemFontOfSize(17));
    const QRect text = box.adjusted(Screen::px(20), 0, -Screen::px(20), -Screen::px(8));
    drawEngravedText(painter, text, Qt::AlignLeft | Qt::AlignBottom, title, colors.shadow,
                     colors.title);
}

} // namespace ui
