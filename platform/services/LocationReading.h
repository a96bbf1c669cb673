#pragma once

#include <QDateTime>

namespace services {

// One reading of the location service. Accuracies are in metres; a negative one
// means the value it qualifies is not known.
struct LocationReading {
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    double altitude = 0;  // metres above sea level
    double horizontalAccuracy = -1;
    double verticalAccuracy = -1;
    QDateTime timestamp; // UTC

    // The great-circle distance to `other`, in metres.
    double distanceFrom(const LocationReading& other) const;
};

} // namespace services
