#pragma once

#include "platform/ui/PinAnnotationView.h"

#include <QPointer>

namespace ui {
class MapView;
}

// The map screen's pin view: while enabled, a touch that moves more than five points
// on either axis drags the pin, and letting go there moves the annotation (and
// reverse geocodes it anew). Smaller movements go to the pin as taps.
class MapAnnotationView : public ui::PinAnnotationView {
public:
    static constexpr int kMoveThreshold = 5; // points; a drag needs more

    MapAnnotationView(ui::Annotation* annotation, const QString& reuseIdentifier,
                      QWidget* parent = nullptr);

    ui::MapView* dragMapView() const { return mapView_; }
    void setMapView(ui::MapView* mapView) { mapView_ = mapView; }
    bool isMoving() const { return isMoving_; }

    void touchesBegan(const ui::Touch& touch) override;
    void touchesMoved(const ui::Touch& touch) override;
    void touchesEnded(const ui::Touch& touch) override;
    void touchesCancelled(const ui::Touch& touch) override;

private:
    ui::Point inSuperview(const ui::Touch& touch) const;
    void reset();

    bool isMoving_ = false;
    ui::Point startLocation_;
    ui::Point originalCenter_;
    QPointer<ui::MapView> mapView_;
};
