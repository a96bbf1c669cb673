#include "platform/ui/Geometry.h"

#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace ui {

namespace {
std::atomic<double> currentScale{1.0};
constexpr double kScreenWidth = 320;
constexpr double kScreenHeight = 480;
constexpr double kStatusBarHeight = 20;
} // namespace

Rect Screen::bounds() {
    return {0, 0, kScreenWidth, kScreenHeight};
}

Rect Screen::applicationFrame() {
    return {0, kStatusBarHeight, kScreenWidth, kScreenHeight - kStatusBarHeight};
}

double Screen::scale() {
    return currentScale.load();
}

void Screen::setScale(double scale) {
    if (scale > 0) {
        currentScale.store(scale);
    }
}

int Screen::px(double points) {
    return static_cast<int>(std::lround(points * scale()));
}

double Screen::toPoints(int pixels) {
    return pixels / scale();
}

QRect Screen::toPixels(Rect rect) {
    // Round the edges, not the size, so that adjacent rectangles stay adjacent.
    const int left = px(rect.x);
    const int top = px(rect.y);
    return QRect(left, top, px(rect.x + rect.width) - left, px(rect.y + rect.height) - top);
}

Rect Screen::toPoints(QRect rect) {
    return {toPoints(rect.x()), toPoints(rect.y()), toPoints(rect.width()),
            toPoints(rect.height())};
}

double Screen::chooseScale(QSize availablePixels, QSize decorationPixels) {
    const double roomWidth = availablePixels.width() - decorationPixels.width();
    const double roomHeight = availablePixels.height() - decorationPixels.height();
    const double fit = std::min(roomWidth / kScreenWidth, roomHeight / kScreenHeight);
    constexpr double kComfortable = 0.85;
    if (fit * kComfortable >= 1.0) {
        return std::min(3.0, std::floor(fit * kComfortable * 4) / 4);
    }
    if (fit >= 1.0) {
        return 1.0;
    }
    return std::max(0.25, std::floor(fit * 20) / 20);
}

void setFrame(QWidget* widget, Rect frame) {
    widget->setGeometry(Screen::toPixels(frame));
}

Rect frame(const QWidget* widget) {
    return Screen::toPoints(widget->geometry());
}

} // namespace ui
