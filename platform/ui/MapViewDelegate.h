#pragma once

namespace ui {

class Annotation;
class MapView;
class PinAnnotationView;

// Hears of a map view's loading and region changes and supplies its annotation views.
class MapViewDelegate {
public:
    virtual ~MapViewDelegate() = default;
    // The view that marks `annotation`, or nullptr for the map's default pin.
    virtual PinAnnotationView* mapViewViewForAnnotation(MapView* /*mapView*/,
                                                        Annotation* /*annotation*/) {
        return nullptr;
    }
    virtual void mapViewDidFinishLoadingMap(MapView* /*mapView*/) {}
    virtual void mapViewRegionDidChangeAnimated(MapView* /*mapView*/, bool /*animated*/) {}
};

} // namespace ui
