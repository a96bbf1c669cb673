#pragma once

#include "platform/services/Placemark.h"
#include "platform/ui/MapGeometry.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace services {

// The places reverse geocoding searches, read from the bundle's places.bin: each
// with the administrative area and country it lies in, bucketed in cells of a few
// degrees so that a search reads only the cells near the coordinate.
class PlaceIndex {
public:
    static constexpr double kCutoffMetres = 50000;

    // The bundle's places, read on first use; empty when the file is missing.
    static const PlaceIndex& shared();

    // Reads the file; false (and no places) when it is missing or malformed.
    bool load(const QString& path);
    bool isEmpty() const { return places_.empty(); }
    size_t placeCount() const { return places_.size(); }

    // The area and country of the place nearest `coordinate`, when one lies within
    // `cutoffMetres`.
    std::optional<Placemark> nearest(ui::Coordinate coordinate,
                                     double cutoffMetres = kCutoffMetres) const;

private:
    struct Place {
        float latitude;
        float longitude;
        uint16_t area;
    };

    int columns() const { return 360 / cellDegrees_; }
    int rows() const { return 180 / cellDegrees_; }
    bool parse(const QByteArray& bytes);

    int cellDegrees_ = 0;
    std::vector<Placemark> areas_;
    std::vector<uint32_t> cellStarts_; // first place of each cell, then the place count
    std::vector<Place> places_;
};

} // namespace services
