#pragma once

#include "platform/services/Placemark.h"
#include "platform/ui/MapGeometry.h"

#include <QObject>

#include <optional>

namespace services {

class PlaceIndex;
class ReverseGeocoderDelegate;

// Finds the administrative area and country of a coordinate, offline: the place
// nearest to it within PlaceIndex::kCutoffMetres. Started on the main thread, it
// answers its delegate once, from the main event loop; cancelling or destroying it
// before then means no answer.
class ReverseGeocoder : public QObject {
public:
    // Searches `index`, or the bundle's places when nullptr.
    explicit ReverseGeocoder(ui::Coordinate coordinate, const PlaceIndex* index = nullptr);
    ~ReverseGeocoder() override;

    ui::Coordinate coordinate() const { return coordinate_; }
    ReverseGeocoderDelegate* delegate() const { return delegate_; }
    void setDelegate(ReverseGeocoderDelegate* delegate) { delegate_ = delegate; }
    void start();
    void cancel() { querying_ = false; }
    bool isQuerying() const { return querying_; }
    // The placemark found, once the delegate has heard of it.
    const std::optional<Placemark>& placemark() const { return placemark_; }

private:
    void answer();

    ui::Coordinate coordinate_;
    const PlaceIndex* index_;
    ReverseGeocoderDelegate* delegate_ = nullptr;
    bool querying_ = false;
    std::optional<Placemark> placemark_;
};

} // namespace services
