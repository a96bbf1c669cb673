#include "location/MapAnnotationView.h"

#include "location/MapAnnotation.h"
#include "platform/ui/MapView.h"

#include <cstdlib>

MapAnnotationView::MapAnnotationView(ui::Annotation* annotation, const QString& reuseIdentifier,
                                     QWidget* parent)
    : ui::PinAnnotationView(annotation, reuseIdentifier, parent) {}

ui::Point MapAnnotationView::inSuperview(const ui::Touch& touch) const {
    const ui::Rect box = ui::frame(this);
    return {box.x + touch.locationInView.x, box.y + touch.locationInView.y};
}

void MapAnnotationView::reset() {
    startLocation_ = {};
    originalCenter_ = {};
    isMoving_ = false;
}

void MapAnnotationView::touchesBegan(const ui::Touch& touch) {
    if (!isEnabled()) {
        return;
    }
    startLocation_ = inSuperview(touch);
    originalCenter_ = center();
}

void MapAnnotationView::touchesMoved(const ui::Touch& touch) {
    if (!isEnabled()) {
        return;
    }
    const ui::Point at = inSuperview(touch);
    const ui::Point offset{at.x - startLocation_.x, at.y - startLocation_.y};
    const auto truncatedX = static_cast<int>(offset.x);
    const auto truncatedY = static_cast<int>(offset.y);
    if (std::abs(truncatedX) > kMoveThreshold || std::abs(truncatedY) > kMoveThreshold) {
        isMoving_ = true;
    }
    if (isMoving_) {
        setCenter({originalCenter_.x + offset.x, originalCenter_.y + offset.y});
    } else {
        ui::PinAnnotationView::touchesMoved(touch);
    }
}

void MapAnnotationView::touchesEnded(const ui::Touch& touch) {
    if (!isEnabled()) {
        return;
    }
    if (!isMoving_) {
        ui::PinAnnotationView::touchesEnded(touch);
        return;
    }
    if (mapView_ != nullptr) {
        // The pin's tip, not its centre, marks the coordinate.
        const ui::Point tip{center().x - centerOffset().x, center().y - centerOffset().y};
        const ui::Coordinate coordinate =
            mapView_->convertPointToCoordinateFromView(tip, parentWidget());
        if (auto* pin = dynamic_cast<MapAnnotation*>(annotation()); pin != nullptr) {
            pin->changeCoordinate(coordinate);
        }
        mapView_->setCenterCoordinate(coordinate, true);
    }
    reset();
}

void MapAnnotationView::touchesCancelled(const ui::Touch& touch) {
    if (!isEnabled()) {
        return;
    }
    if (isMoving_) {
        setCenter(originalCenter_);
        reset();
    } else {
        ui::PinAnnotationView::touchesCancelled(touch);
    }
}
