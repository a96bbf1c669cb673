#pragma once

#include "platform/services/LocationReading.h"

#include <QString>

#include <memory>
#include <optional>

namespace services {

// An error of the location service: in its own domain code 0 is "location unknown",
// 1 "denied"; other domains carry their own description.
struct LocationError {
    bool locationDomain = true;
    int code = 0;
    QString localizedDescription;
};

class LocationManager;

class LocationManagerDelegate {
public:
    virtual ~LocationManagerDelegate() = default;
    virtual void locationManagerDidUpdateToLocationFromLocation(
        LocationManager* /*manager*/, const LocationReading& /*newLocation*/,
        const std::optional<LocationReading>& /*oldLocation*/) {}
    virtual void locationManagerDidFailWithError(LocationManager* /*manager*/,
                                                 const LocationError& /*error*/) {}
};

// The platform's location service. Readings and errors reach the delegate on the main
// thread. The Linux one reads Qt Positioning (GeoClue2), or an NMEA log named by
// ORMEL_NMEA_LOG; it never blocks the caller.
class LocationManager {
public:
    static constexpr double kAccuracyBest = -1; // desiredAccuracy: the best there is
    static constexpr double kDistanceFilterNone = -1;

    virtual ~LocationManager() = default;

    void setDelegate(LocationManagerDelegate* delegate) { delegate_ = delegate; }
    LocationManagerDelegate* delegate() const { return delegate_; }
    void setDesiredAccuracy(double metres) { desiredAccuracy_ = metres; }
    double desiredAccuracy() const { return desiredAccuracy_; }
    void setDistanceFilter(double metres) { distanceFilter_ = metres; }

    virtual bool locationServicesEnabled() const = 0;
    virtual void startUpdatingLocation() = 0;
    virtual void stopUpdatingLocation() = 0;

    // The platform's manager: Qt Positioning's default source, or the NMEA log.
    static std::unique_ptr<LocationManager> create();

protected:
    LocationManagerDelegate* delegate_ = nullptr;
    double desiredAccuracy_ = kAccuracyBest;
    double distanceFilter_ = kDistanceFilterNone;
};

} // namespace services
