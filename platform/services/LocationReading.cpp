#include "platform/services/LocationReading.h"

#include <QGeoCoordinate>

namespace services {

double LocationReading::distanceFrom(const LocationReading& other) const {
    return QGeoCoordinate(latitude, longitude)
        .distanceTo(QGeoCoordinate(other.latitude, other.longitude));
}

} // namespace services
