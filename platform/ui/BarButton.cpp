#include "platform/ui/BarButton.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double kButtonHeight = 30;
constexpr double kGlyphSize = 20;

void drawArrowHead(QPainter& p, QPointF tip, double angle, double size) {
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip.x() - size * std::cos(angle - 0.5), tip.y() - size * std::sin(angle - 0.5));
    head.lineTo(tip.x() - size * std::cos(angle + 0.5), tip.y() - size * std::sin(angle + 0.5));
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

// Draws the glyph of a system item into the square `g`, in the pen's colour.
void drawGlyph(QPainter& p, BarButtonSystemItem item, const QRectF& g) {
    const double u = g.width() / 20.0;
    const QColor ink = p.pen().color();
    p.setPen(QPen(ink, 2 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF c = g.center();
    auto at = [&](double x, double y) { return QPointF(g.left() + x * u, g.top() + y * u); };
    switch (item) {
    case BarButtonSystemItem::Add:
        p.setPen(QPen(ink, 3 * u, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(at(3, 10), at(17, 10));
        p.drawLine(at(10, 3), at(10, 17));
        break;
    case BarButtonSystemItem::Refresh: {
        const QRectF ring(at(3, 3), at(17, 17));
        p.drawArc(ring, 100 * 16, 290 * 16);
        drawArrowHead(p, at(11, 3), 0, 6 * u);
        break;
    }
    case BarButtonSystemItem::Trash: {
        p.drawLine(at(3, 5), at(17, 5));
        p.drawLine(at(8, 5), at(8, 3));
        p.drawLine(at(8, 3), at(12, 3));
        p.drawLine(at(12, 3), at(12, 5));
        QPainterPath bin;
        bin.moveTo(at(5, 6));
        bin.lineTo(at(6, 18));
        bin.lineTo(at(14, 18));
        bin.lineTo(at(15, 6));
        p.drawPath(bin);
        p.setPen(QPen(ink, 1.2 * u));
        for (double x : {8.0, 10.0, 12.0}) {
            p.drawLine(at(x, 8), at(x, 16));
        }
        break;
    }
    case BarButtonSystemItem::Action:
        p.drawPolyline(
            QPolygonF({at(7, 8), at(3, 8), at(3, 18), at(17, 18), at(17, 8), at(13, 8)}));
        p.drawLine(at(10, 13), at(10, 3));
        drawArrowHead(p, at(10, 1.5), -M_PI / 2, 5 * u);
        break;
    case BarButtonSystemItem::Compose:
        p.drawPolyline(QPolygonF({at(11, 4), at(3, 4), at(3, 17), at(16, 17), at(16, 9)}));
        p.drawLine(at(8, 12), at(17, 3));
        break;
    case BarButtonSystemItem::Reply: {
        QPainterPath path;
        path.moveTo(at(18, 16));
        path.cubicTo(at(16, 9), at(12, 8), at(6, 8));
        p.drawPath(path);
        drawArrowHead(p, at(3, 8), M_PI, 6 * u);
        break;
    }
    case BarButtonSystemItem::Organize:
        p.drawPolyline(QPolygonF({at(2, 6), at(2, 17), at(18, 17), at(18, 6), at(2, 6)}));
        p.drawPolyline(QPolygonF({at(2, 6), at(4, 3), at(9, 3), at(10, 6)}));
        break;
    case BarButtonSystemItem::Bookmarks:
        p.drawRect(QRectF(at(4, 2), at(16, 18)));
        p.drawLine(at(7, 2), at(7, 18));
        break;
    case BarButtonSystemItem::Search:
        p.drawEllipse(QRectF(at(3, 3), at(13, 13)));
        p.setPen(QPen(ink, 3 * u, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(12, 12), at(17, 17));
        break;
    case BarButtonSystemItem::Stop:
        p.setPen(QPen(ink, 2.5 * u, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(4, 4), at(16, 16));
        p.drawLine(at(16, 4), at(4, 16));
        break;
    case BarButtonSystemItem::Camera:
        p.drawRoundedRect(QRectF(at(2, 6), at(18, 17)), 2 * u, 2 * u);
        p.drawEllipse(QRectF(at(7, 8), at(13, 14)));
        p.drawLine(at(7, 6), at(8, 4));
        p.drawLine(at(8, 4), at(12, 4));
        p.drawLine(at(12, 4), at(13, 6));
        break;
    case BarButtonSystemItem::Play:
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({at(5, 3), at(17, 10), at(5, 17)}));
        break;
    case BarButtonSystemItem::Pause:
        p.setBrush(ink);
        p.drawRect(QRectF(at(5, 3), at(8, 17)));
        p.drawRect(QRectF(at(12, 3), at(15, 17)));
        break;
    case BarButtonSystemItem::Rewind:
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({at(10, 4), at(2, 10), at(10, 16)}));
        p.drawPolygon(QPolygonF({at(18, 4), at(10, 10), at(18, 16)}));
        break;
    case BarButtonSystemItem::FastForward:
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({at(2, 4), at(10, 10), at(2, 16)}));
        p.drawPolygon(QPolygonF({at(10, 4), at(18, 10), at(10, 16)}));
        break;
    default:
        p.drawEllipse(c, 2 * u, 2 * u);
        break;
    }
}

bool hasGlyph(const BarButtonItem* item) {
    return item != nullptr && item->systemItem() && item->title().isEmpty();
}

} // namespace

BarButton::BarButton(BarButtonItem* item, QWidget* parent) : QAbstractButton(parent), item_(item) {
    setFont(boldSystemFontOfSize(12));
    setText(item->title());
    bordered_ = item->style() != BarButtonItemStyle::Plain;
    connect(this, &QAbstractButton::clicked, this, [this] { item_->trigger(); });
    refresh();
}

BarButton::BarButton(const QString& backTitle, QWidget* parent) : QAbstractButton(parent) {
    setFont(boldSystemFontOfSize(12));
    setText(backTitle);
    refresh();
}

void BarButton::setAppearance(bool bordered, BarStyle style) {
    bordered_ = bordered;
    barStyle_ = style;
    refresh();
}

void BarButton::refresh() {
    if (item_ != nullptr) {
        setText(item_->title());
    }
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize BarButton::sizeHint() const {
    const int height = Screen::px(kButtonHeight);
    if (item_ != nullptr && item_->width() > 0) {
        return QSize(Screen::px(item_->width()), height);
    }
    int content = fontMetrics().horizontalAdvance(text());
    if (hasGlyph(item_)) {
        content = Screen::px(kGlyphSize);
    } else if (item_ != nullptr && !item_->image().isNull()) {
        content = Screen::px(item_->image().size().width);
    }
    const int padding = Screen::px(isBackButton() ? 22 : 18);
    return QSize(std::max(content + padding, Screen::px(isBackButton() ? 50 : 30)), height);
}

QColor BarButton::frameColor() const {
    if (item_ != nullptr && item_->style() == BarButtonItemStyle::Done) {
        return barStyle_ == BarStyle::Default ? QColor(40, 90, 200) : QColor(30, 60, 140);
    }
    return barStyle_ == BarStyle::Default ? QColor(72, 98, 138) : QColor(40, 40, 40);
}

void BarButton::paintBackground(QPainter& p, const QRectF& box) {
    const double radius = Screen::px(5);
    QPainterPath shape;
    if (isBackButton()) {
        const double point = box.height() / 2 * 0.6;
        shape.moveTo(box.left(), box.center().y());
        shape.lineTo(box.left() + point, box.top());
        shape.lineTo(box.right() - radius, box.top());
        shape.quadTo(box.topRight(), QPointF(box.right(), box.top() + radius));
        shape.lineTo(box.right(), box.bottom() - radius);
        shape.quadTo(box.bottomRight(), QPointF(box.right() - radius, box.bottom()));
        shape.lineTo(box.left() + point, box.bottom());
        shape.closeSubpath();
    } else {
        shape.addRoundedRect(box, radius, radius);
    }
    QColor fill = frameColor();
    if (isDown()) {
        fill = fill.darker(140);
    }
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, fill.lighter(135));
    gradient.setColorAt(0.5, fill.lighter(110));
    gradient.setColorAt(0.51, fill);
    gradient.setColorAt(1, fill.darker(105));
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    p.setBrush(gradient);
    p.drawPath(shape);
}

void BarButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (bordered_) {
        paintBackground(p, box);
    }
    QColor ink = Qt::white;
    if (!isEnabled()) {
        ink.setAlpha(110);
    } else if (!bordered_ && isDown()) {
        ink = QColor(180, 200, 255);
    }
    QRectF content = box;
    if (isBackButton()) {
        content.setLeft(content.left() + box.height() * 0.25);
    }
    if (hasGlyph(item_)) {
        const double side = Screen::px(kGlyphSize);
        const QRectF glyph(content.center().x() - side / 2, content.center().y() - side / 2, side,
                           side);
        p.setPen(ink);
        drawGlyph(p, *item_->systemItem(), glyph);
        return;
    }
    if (item_ != nullptr && !item_->image().isNull()) {
        const Size size = item_->image().size();
        const QRectF imageBox(content.center().x() - Screen::px(size.width) / 2.0,
                              content.center().y() - Screen::px(size.height) / 2.0,
                              Screen::px(size.width), Screen::px(size.height));
        p.drawPixmap(imageBox.toRect(), item_->image().pixmap());
        return;
    }
    p.setFont(font());
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(content.translated(0, -1), Qt::AlignCenter, text());
    p.setPen(ink);
    p.drawText(content, Qt::AlignCenter, text());
}

} // namespace ui
