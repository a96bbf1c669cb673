#pragma once

#include "platform/ui/Label.h"
#include "platform/ui/MapGeometry.h"
#include "platform/ui/MapView.h"
#include "platform/ui/MapViewDelegate.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/ViewController.h"

#include <QPointer>
#include <QString>

#include <memory>

class MapAnnotation;

// The map screen: the location reading as a pin whose callout names the place, over
// a toolbar that switches between standard, satellite and hybrid maps and closes
// the screen. Satellite and hybrid need a tile source; without one their segments
// are disabled and the map says why.
class MapViewController : public ui::ViewController, public ui::MapViewDelegate {
public:
    static constexpr double kPinSpan = 0.005;    // degrees around the pin, over imagery
    static constexpr double kOutlinePinSpan = 8; // over the shipped country outlines

    MapViewController(double latitude, double longitude);
    explicit MapViewController(ui::Coordinate coordinate);
    ~MapViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Centres the map on `coordinate` and puts the pin there, replacing the old one.
    void setPinAtCenter(ui::Coordinate coordinate);
    void changedMap(ui::SegmentedControl* control);
    void closeAction();

    ui::Coordinate location() const { return location_; }
    ui::MapView* mapView() const { return mapView_; }
    MapAnnotation* mapPin() const { return mapPin_.get(); }
    ui::SegmentedControl* mapTypeControl() const { return segment_; }
    ui::Toolbar* toolbar() const { return toolbar_; }
    // The callout's title and subtitle, one a line.
    QString calloutText() const;

    ui::PinAnnotationView* mapViewViewForAnnotation(ui::MapView* mapView,
                                                    ui::Annotation* annotation) override;
    void mapViewDidFinishLoadingMap(ui::MapView* mapView) override;

private:
    void buildToolbar();

    ui::Coordinate location_;
    QPointer<ui::MapView> mapView_;
    std::unique_ptr<MapAnnotation> mapPin_;
    QPointer<ui::Toolbar> toolbar_;
    QPointer<ui::SegmentedControl> segment_;
    QPointer<ui::Label> noImagery_;
};
