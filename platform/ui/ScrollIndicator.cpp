#include "platform/ui/ScrollIndicator.h"

#include "platform/ui/DelayedPerform.h"
#include "platform/ui/Geometry.h"

#include <QPainter>

#include <algorithm>

namespace ui {

namespace {

constexpr int kFadeSteps = 6;

} // namespace

ScrollIndicator::ScrollIndicator(QWidget* viewport) : QWidget(viewport) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

ScrollIndicator::~ScrollIndicator() {
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
}

void ScrollIndicator::place(double offset, double contentHeight) {
    const Rect area = Screen::toPoints(parentWidget()->rect());
    const double track = area.height - 2 * kInset;
    const double maximum = contentHeight - area.height;
    scrollable_ = maximum > 0 && track > 0;
    if (!scrollable_) {
        hide();
        return;
    }
    const double beyond = offset < 0 ? -offset : std::max(0.0, offset - maximum);
    const double inRange = std::max(kShortestLength, track * area.height / contentHeight);
    const double length = std::clamp(inRange - beyond, std::min(kMinimumLength, track), track);
    const double along = std::clamp(offset / maximum, 0.0, 1.0);
    setFrame(this, {area.width - kInset - kThickness, kInset + along * (track - length), kThickness,
                    length});
}

void ScrollIndicator::showForScrolling() {
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
    if (!scrollable_) {
        return;
    }
    opacity_ = 1;
    raise();
    show();
    update();
}

void ScrollIndicator::fadeAfterRest() {
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
    if (!isVisibleTo(parentWidget())) {
        return;
    }
    if (!isVisible()) {
        hide(); // the table went out of sight while it moved: nothing to fade
        return;
    }
    fadeStepsLeft_ = kFadeSteps;
    DelayedPerform::performAfterDelay(this, kLinger, [this] { fadeStep(); });
}

void ScrollIndicator::fadeStep() {
    opacity_ = static_cast<double>(--fadeStepsLeft_) / kFadeSteps;
    if (fadeStepsLeft_ <= 0) {
        hide();
        return;
    }
    update();
    DelayedPerform::performAfterDelay(this, kFadeDuration / kFadeSteps, [this] { fadeStep(); });
}

void ScrollIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, static_cast<int>(128 * opacity_)));
    const double radius = width() / 2.0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
}

} // namespace ui
