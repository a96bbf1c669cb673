#pragma once

#include "platform/services/Placemark.h"
#include "platform/services/ReverseGeocoderDelegate.h"
#include "platform/ui/Annotation.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace services {
class PlaceIndex;
class ReverseGeocoder;
} // namespace services

namespace ui {
class MapView;
}

// The map screen's pin: where the reading is, titled "Here", its subtitle naming the
// administrative area and country once reverse geocoding has found them, and the
// coordinates until then (or when it finds nothing).
class MapAnnotation : public ui::Annotation, public services::ReverseGeocoderDelegate {
public:
    // Starts reverse geocoding the coordinate (over `places`, or the bundle's places).
    MapAnnotation(ui::Coordinate coordinate, const QString& title,
                  const services::PlaceIndex* places = nullptr);
    ~MapAnnotation() override;

    ui::Coordinate coordinate() const override { return coordinate_; }
    QString title() const override { return title_; }
    QString subtitle() const override;
    const std::optional<services::Placemark>& placemark() const { return placemark_; }
    services::ReverseGeocoder* reverseGeocoder() const { return reverseGeocoder_.get(); }

    // The map told when the callout's texts change.
    void setMapView(ui::MapView* mapView) { mapView_ = mapView; }
    // Runs when the subtitle changes, before the map hears of it.
    void setSubtitleObserver(std::function<void()> observer) {
        subtitleObserver_ = std::move(observer);
    }

    // Moves the pin and starts a new reverse geocoding.
    void changeCoordinate(ui::Coordinate coordinate);
    // Keeps the placemark (nullopt: none found) and tells the map the callout changed.
    void notifyCalloutInfo(const std::optional<services::Placemark>& placemark);

    void reverseGeocoderDidFindPlacemark(services::ReverseGeocoder* geocoder,
                                         const services::Placemark& placemark) override;
    void reverseGeocoderDidFailWithError(services::ReverseGeocoder* geocoder,
                                         const QString& error) override;

private:
    ui::Coordinate coordinate_;
    QString title_;
    std::optional<services::Placemark> placemark_;
    std::unique_ptr<services::ReverseGeocoder> reverseGeocoder_;
    const services::PlaceIndex* places_;
    QPointer<ui::MapView> mapView_;
    std::function<void()> subtitleObserver_;
};
