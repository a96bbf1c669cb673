#include "registry/WorldMapView.h"

#include "common/Resources.h"
#include "platform/ui/DelayedPerform.h"
#include "registry/WorldMapViewDelegate.h"

#include <QPainter>

WorldMapView::WorldMapView(const QString& name, QWidget* parent)
    : ui::TouchView(parent), image_(Resources::image(name + QStringLiteral(".png"))) {
    const ui::Size size = image_.isNull() ? ui::Size{0, 0} : image_.size();
    ui::setFrame(this, {10, 1, size.width, size.height});
    setAttribute(Qt::WA_TranslucentBackground);
}

WorldMapView::~WorldMapView() {
    for (int count = 1; count <= 3; ++count) {
        ui::DelayedPerform::cancelPreviousPerformRequestsWithTarget(reportTarget(count));
    }
}

void WorldMapView::touchesEnded(const ui::Touch& touch) {
    const int count = touch.tapCount;
    if (count < 1 || count > 3) {
        return;
    }
    if (count > 1) {
        ui::DelayedPerform::cancelPreviousPerformRequestsWithTarget(reportTarget(count - 1));
    }
    ui::DelayedPerform::performAfterDelay(reportTarget(count), kTapDelay,
                                          [this, count] { report(count); });
}

void WorldMapView::report(int tapCount) {
    if (delegate_ != nullptr) {
        delegate_->worldMapViewTapCount(this, tapCount);
    }
}

void WorldMapView::paintEvent(QPaintEvent* /*event*/) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(rect(), image_.pixmap());
}
