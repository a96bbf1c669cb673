#include "platform/ui/MapGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

double MercatorProjection::unitY(double latitude) {
    const double clamped = std::clamp(latitude, -kMaximumLatitude, kMaximumLatitude);
    const double radians = clamped * std::numbers::pi / 180;
    return 0.5 - std::log(std::tan(std::numbers::pi / 4 + radians / 2)) / (2 * std::numbers::pi);
}

Point MercatorProjection::unitPoint(Coordinate coordinate) {
    return {(coordinate.longitude + 180) / 360, unitY(coordinate.latitude)};
}

Coordinate MercatorProjection::coordinate(Point unitPoint) {
    const double latitude =
        std::atan(std::sinh(std::numbers::pi * (1 - 2 * unitPoint.y))) * 180 / std::numbers::pi;
    double longitude = std::fmod(unitPoint.x * 360, 360.0);
    if (longitude < 0) {
        longitude += 360;
    }
    return {latitude, longitude - 180};
}

} // namespace ui
