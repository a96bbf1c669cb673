#pragma once

#include "platform/ui/Geometry.h"

namespace ui {

// A place on the earth in degrees: north and east positive.
struct Coordinate {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const Coordinate&) const = default;
};

// The extent of a region in degrees.
struct CoordinateSpan {
    double latitudeDelta = 0;
    double longitudeDelta = 0;
    bool operator==(const CoordinateSpan&) const = default;
};

struct CoordinateRegion {
    Coordinate center;
    CoordinateSpan span;
};

enum class MapType { Standard = 0, Satellite = 1, Hybrid = 2 };

// The spherical Mercator projection the map draws with: a coordinate becomes a point
// of the unit square (x east from -180°, y south from the northern limit), and back.
class MercatorProjection {
public:
    static constexpr double kMaximumLatitude = 85.0511287798066;

    static Point unitPoint(Coordinate coordinate);
    static Coordinate coordinate(Point unitPoint);
    static double unitY(double latitude);
};

} // namespace ui
