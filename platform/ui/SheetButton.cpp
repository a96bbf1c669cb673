#include "platform/ui/SheetButton.h"

#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Painting.h"

#include <QPainter>

namespace ui {

SheetButton::SheetButton(const QString& title, Role role, QWidget* parent)
    : QAbstractButton(parent), role_(role) {
    setText(title);
    setFont(boldSystemFontOfSize(role == Role::AlertOther || role == Role::AlertCancel ? 18 : 20));
}

QSize SheetButton::sizeHint() const {
    const bool alert = role_ == Role::AlertOther || role_ == Role::AlertCancel;
    return QSize(fontMetrics().horizontalAdvance(text()) + Screen::px(20),
                 Screen::px(alert ? 43 : 46));
}

void SheetButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    const double radius =
        Screen::px(role_ == Role::AlertOther || role_ == Role::AlertCancel ? 6 : 9);
    QColor top;
    QColor bottom;
    QColor ink = Qt::white;
    switch (role_) {
    case Role::AlertOther:
        top = QColor(130, 145, 185, 200);
        bottom = QColor(60, 80, 140, 200);
        break;
    case Role::AlertCancel:
        top = QColor(90, 100, 130, 220);
        bottom = QColor(30, 40, 80, 220);
        break;
    case Role::SheetOther:
        top = QColor(255, 255, 255);
        bottom = QColor(225, 225, 230);
        ink = QColor(30, 30, 30);
        break;
    case Role::SheetOtherOnBlack:
        top = QColor(110, 110, 110);
        bottom = QColor(50, 50, 50);
        break;
    case Role::SheetDestructive:
        top = QColor(235, 90, 90);
        bottom = QColor(190, 10, 10);
        break;
    case Role::SheetCancel:
        top = QColor(100, 105, 115);
        bottom = QColor(40, 45, 55);
        break;
    }
    if (isDown()) {
        top = QColor(5, 140, 245);
        bottom = QColor(1, 93, 230);
        ink = Qt::white;
    }
    painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box.adjusted(-0.5, -0.5, 0.5, 0.5), radius, radius);
    painting::fillGloss(painter, box, top, bottom, radius);
    painter.setFont(font());
    painter.setPen(ink);
    painter.drawText(box, Qt::AlignCenter, text());
}

} // namespace ui
