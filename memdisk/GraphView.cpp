#include "memdisk/GraphView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

const QString GraphViewDataValueKey = QStringLiteral("GraphViewDataValueKey");
const QString GraphViewDataColorKey = QStringLiteral("GraphViewDataColorKey");

namespace {

constexpr double kFirstSliceAngle = 270.0; // 12 o'clock, as y grows downward
const ui::Color kOutlineColor{0.667, 0.667, 0.667, 1};
constexpr double kOutlineWidth = 2;
constexpr double kFullTurn = 2 * std::numbers::pi;

float valueOf(const QVariantMap& entry, const QString& key) {
    return entry.value(key).toFloat();
}

ui::Color colorOf(const QVariantMap& entry) {
    return entry.value(GraphViewDataColorKey).value<ui::Color>();
}

} // namespace

float radians(double degrees) {
    return static_cast<float>(degrees * 3.141592653589793 / 180.0);
}

int compare(const QVariantMap& a, const QVariantMap& b, const QString& key) {
    const float left = valueOf(a, key);
    const float right = valueOf(b, key);
    if (left > right) {
        return -1;
    }
    return left < right ? 1 : 0;
}

GraphView::GraphView(const ui::Rect& frame, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    ui::setFrame(this, frame);
}

void GraphView::setDataWithColor(float number, const ui::Color& color) {
    data_.append(
        {{GraphViewDataValueKey, number}, {GraphViewDataColorKey, QVariant::fromValue(color)}});
    total_ += number;
    update();
}

void GraphView::clearData() {
    data_.clear();
    total_ = 0;
    update();
}

void GraphView::setRadius(float radius) {
    radius_ = radius;
    update();
}

void GraphView::setClockwise(int32_t clockwise) {
    clockwise_ = clockwise;
    update();
}

void GraphView::setOffset(int32_t offset) {
    offset_ = offset;
    update();
}

// An arc as the device's path primitive adds it: a line from the current point to the
// arc's start, then the arc through increasing angles (flag 0) or decreasing ones, a
// whole circle at most. Angles run from the x axis toward the y axis, y pointing down.
void GraphView::addArc(QPainterPath& path, QPointF centre, float startAngle, float endAngle) const {
    double sweep = static_cast<double>(endAngle) - startAngle;
    if (clockwise_ == 0) {
        sweep = sweep < 0 ? std::fmod(sweep, kFullTurn) + kFullTurn : std::min(sweep, kFullTurn);
    } else {
        sweep = sweep > 0 ? std::fmod(sweep, kFullTurn) - kFullTurn : std::max(sweep, -kFullTurn);
    }
    const QRectF box(centre.x() - radius_, centre.y() - radius_, 2.0 * radius_, 2.0 * radius_);
    // Qt counts degrees counter-clockwise on screen: the opposite sense.
    const double toDegrees = 180.0 / std::numbers::pi;
    path.arcTo(box, -startAngle * toDegrees, -sweep * toDegrees);
}

void GraphView::drawRect(QPainter& painter, const ui::Rect& rect) {
    std::stable_sort(data_.begin(), data_.end(), [](const QVariantMap& a, const QVariantMap& b) {
        return compare(a, b, GraphViewDataValueKey) < 0;
    });
    const ui::Rect bounds = {0, 0, ui::frame(this).width, ui::frame(this).height};
    const QPointF centre(static_cast<float>(bounds.width) * 0.5F,
                         static_cast<float>(offset_) + static_cast<float>(bounds.height) * 0.5F);
    painter.setRenderHint(QPainter::Antialiasing);
    // The view has no background of its own: what lies below shows through the rest.
    painter.fillRect(QRectF(rect.x, rect.y, rect.width, rect.height), Qt::transparent);

    QPainterPath outline(centre);
    addArc(outline, centre, radians(0), radians(360));
    painter.strokePath(outline, QPen(kOutlineColor.toQColor(), kOutlineWidth));

    if (total_ == 0) {
        return; // nothing to share out
    }
    double startAngle = kFirstSliceAngle;
    for (const QVariantMap& entry : data_) {
        const float fraction = valueOf(entry, GraphViewDataValueKey) / total_;
        const double endAngle = startAngle + fraction * 360.0;
        QPainterPath slice(centre);
        addArc(slice, centre, radians(startAngle), radians(endAngle));
        slice.closeSubpath();
        painter.fillPath(slice, colorOf(entry).toQColor());
        startAngle = endAngle;
    }
}

void GraphView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const double scale = ui::Screen::scale();
    painter.scale(scale, scale);
    drawRect(painter, ui::Screen::toPoints(event->rect()));
}
