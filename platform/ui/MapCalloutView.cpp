#include "platform/ui/MapCalloutView.h"

#include "platform/ui/Font.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ui {

namespace {

constexpr double kTitleSize = 17;
constexpr double kSubtitleSize = 12;
constexpr double kPadding = 10;
constexpr double kMaximumWidth = 300;
constexpr double kMinimumWidth = 60;

// The width of `text` in `font`, in points.
double textWidth(const QString& text, const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(text) / Screen::scale();
}

} // namespace

MapCalloutView::MapCalloutView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

Size MapCalloutView::fittingSize() const {
    const double texts = std::max(textWidth(title_, boldSystemFontOfSize(kTitleSize)),
                                  textWidth(subtitle_, systemFontOfSize(kSubtitleSize)));
    // A point of slack each side keeps rounding from eliding a text that fits.
    const double width = std::clamp(texts + 2 * kPadding + 2, kMinimumWidth, kMaximumWidth);
    const double height = subtitle_.isEmpty() ? 34 : 48;
    return {width, height + kPointerHeight};
}

void MapCalloutView::setTexts(const QString& title, const QString& subtitle) {
    title_ = title;
    subtitle_ = subtitle;
    const Rect box = frame(this);
    const Size size = fittingSize();
    const Point tip{box.x + box.width / 2, box.y + box.height};
    setFrame(this, {tip.x - size.width / 2, tip.y - size.height, size.width, size.height});
    update();
}

void MapCalloutView::setAnchor(Point tip) {
    const Size size = fittingSize();
    setFrame(this, {tip.x - size.width / 2, tip.y - size.height, size.width, size.height});
}

void MapCalloutView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(Screen::scale(), Screen::scale());
    const Size size = fittingSize();
    const QRectF bubble(0.5, 0.5, size.width - 1, size.height - kPointerHeight - 1);
    QPainterPath shape;
    shape.addRoundedRect(bubble, 8, 8);
    const double middle = size.width / 2;
    QPainterPath pointer;
    pointer.moveTo(middle - kPointerHeight, bubble.bottom() - 1);
    pointer.lineTo(middle, size.height - 0.5);
    pointer.lineTo(middle + kPointerHeight, bubble.bottom() - 1);
    pointer.closeSubpath();
    shape = shape.united(pointer);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
    painter.setBrush(QColor(30, 30, 30, 225));
    painter.drawPath(shape);

    painter.setPen(Qt::white);
    const QRectF text = bubble.adjusted(kPadding, 4, -kPadding, -4);
    painter.setFont(boldSystemFontOfSize(kTitleSize));
    painter.save();
    // The fonts are sized in pixels; the painter already scales points to pixels.
    painter.scale(1 / Screen::scale(), 1 / Screen::scale());
    const double s = Screen::scale();
    const QRectF pixels(text.x() * s, text.y() * s, text.width() * s, text.height() * s);
    const Qt::Alignment top =
        subtitle_.isEmpty() ? Qt::AlignCenter : Qt::AlignHCenter | Qt::AlignTop;
    painter.drawText(
        pixels, top | Qt::TextSingleLine,
        QFontMetricsF(painter.font()).elidedText(title_, Qt::ElideRight, pixels.width()));
    if (!subtitle_.isEmpty()) {
        painter.setFont(systemFontOfSize(kSubtitleSize));
        painter.drawText(
            pixels, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine,
            QFontMetricsF(painter.font()).elidedText(subtitle_, Qt::ElideRight, pixels.width()));
    }
    painter.restore();
}

} // namespace ui
