#include "location/MapAnnotation.h"

#include "platform/services/ReverseGeocoder.h"
#include "platform/ui/MapView.h"

MapAnnotation::MapAnnotation(ui::Coordinate coordinate, const QString& title,
                             const services::PlaceIndex* places)
    : coordinate_(coordinate), title_(title), places_(places) {
    changeCoordinate(coordinate);
}

MapAnnotation::~MapAnnotation() = default;

QString MapAnnotation::subtitle() const {
    if (!placemark_) {
        return QString::asprintf("%lf, %lf", coordinate_.latitude, coordinate_.longitude);
    }
    // Some countries' places carry no administrative area: the country alone.
    if (placemark_->administrativeArea.isEmpty()) {
        return placemark_->country;
    }
    return QStringLiteral("%1, %2").arg(placemark_->administrativeArea, placemark_->country);
}

void MapAnnotation::changeCoordinate(ui::Coordinate coordinate) {
    coordinate_ = coordinate;
    // The old answer no longer applies; the coordinates show until the new one.
    placemark_.reset();
    reverseGeocoder_ = std::make_unique<services::ReverseGeocoder>(coordinate, places_);
    reverseGeocoder_->setDelegate(this);
    reverseGeocoder_->start();
}

void MapAnnotation::notifyCalloutInfo(const std::optional<services::Placemark>& placemark) {
    placemark_ = placemark;
    if (subtitleObserver_) {
        subtitleObserver_();
    }
    if (mapView_ != nullptr) {
        mapView_->annotationCalloutInfoDidChange(this);
    }
}

void MapAnnotation::reverseGeocoderDidFindPlacemark(services::ReverseGeocoder* /*geocoder*/,
                                                    const services::Placemark& placemark) {
    notifyCalloutInfo(placemark);
}

void MapAnnotation::reverseGeocoderDidFailWithError(services::ReverseGeocoder* /*geocoder*/,
                                                    const QString& /*error*/) {
    notifyCalloutInfo(std::nullopt);
}
