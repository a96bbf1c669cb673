#include "platform/ui/Painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ui::painting {

namespace {

QRectF centeredSquare(const QRectF& box) {
    const double side = std::min(box.width(), box.height());
    return QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
}

void strokeChevron(QPainter& painter, const QRectF& square, const QColor& color, double width) {
    const double w = square.width();
    QPainterPath path;
    path.moveTo(square.left() + w * 0.38, square.top() + w * 0.25);
    path.lineTo(square.left() + w * 0.62, square.top() + w * 0.5);
    path.lineTo(square.left() + w * 0.38, square.top() + w * 0.75);
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace

void drawDetailDisclosure(QPainter& painter, const QRectF& box, bool pressed) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = centeredSquare(box).adjusted(1, 1, -1, -1);
    QLinearGradient gradient(circle.topLeft(), circle.bottomLeft());
    gradient.setColorAt(0, pressed ? QColor(20, 70, 160) : QColor(70, 140, 240));
    gradient.setColorAt(1, pressed ? QColor(10, 40, 120) : QColor(25, 85, 210));
    painter.setPen(QPen(Qt::white, std::max(1.0, circle.width() / 12)));
    painter.setBrush(gradient);
    painter.drawEllipse(circle);
    strokeChevron(painter, circle, Qt::white, std::max(1.5, circle.width() / 8));
    painter.restore();
}

void drawChevron(QPainter& painter, const QRectF& box, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square = centeredSquare(box);
    strokeChevron(painter, square, color, std::max(1.5, square.width() / 7));
    painter.restore();
}

void drawCheckmark(QPainter& painter, const QRectF& box, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF s = centeredSquare(box);
    QPainterPath path;
    path.moveTo(s.left() + s.width() * 0.15, s.top() + s.height() * 0.55);
    path.lineTo(s.left() + s.width() * 0.4, s.top() + s.height() * 0.8);
    path.lineTo(s.left() + s.width() * 0.88, s.top() + s.height() * 0.2);
    painter.setPen(
        QPen(color, std::max(2.0, s.width() / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.restore();
}

void drawInfo(QPainter& painter, const QRectF& box, bool light) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = centeredSquare(box).adjusted(1, 1, -1, -1);
    const QColor ink = light ? QColor(Qt::white) : QColor(60, 60, 60);
    painter.setPen(QPen(ink, std::max(1.2, circle.width() / 10)));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle);
    QFont font = painter.font();
    font.setBold(true);
    font.setFamily(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(std::max(6, static_cast<int>(circle.height() * 0.7)));
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(circle, Qt::AlignCenter, QStringLiteral("i"));
    painter.restore();
}

void drawContactAdd(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = centeredSquare(box).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(Qt::white, std::max(1.0, circle.width() / 12)));
    painter.setBrush(QColor(40, 100, 220));
    painter.drawEllipse(circle);
    const double arm = circle.width() * 0.28;
    const QPointF c = circle.center();
    painter.setPen(QPen(Qt::white, std::max(2.0, circle.width() / 7), Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    painter.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
    painter.restore();
}

void drawDeleteControl(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = centeredSquare(box).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(Qt::white, std::max(1.0, circle.width() / 12)));
    painter.setBrush(QColor(220, 30, 30));
    painter.drawEllipse(circle);
    const double arm = circle.width() * 0.28;
    const QPointF c = circle.center();
    painter.setPen(QPen(Qt::white, std::max(2.0, circle.width() / 6), Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    painter.restore();
}

void fillGloss(QPainter& painter, const QRectF& box, const QColor& top, const QColor& bottom,
               double radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top.lighter(115));
    gradient.setColorAt(0.5, top);
    gradient.setColorAt(0.51, bottom.lighter(105));
    gradient.setColorAt(1, bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    if (radius > 0) {
        painter.drawRoundedRect(box, radius, radius);
    } else {
        painter.drawRect(box);
    }
    painter.restore();
}

} // namespace ui::painting
