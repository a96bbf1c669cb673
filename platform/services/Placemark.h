#pragma once

#include <QString>

namespace services {

// What reverse geocoding finds for a coordinate: the first-level administrative
// area (state, province, region; empty where the data names none) and the country.
struct Placemark {
    QString administrativeArea;
    QString country;
    bool operator==(const Placemark&) const = default;
};

} // namespace services
