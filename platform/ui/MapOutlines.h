#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <vector>

namespace ui {

// The country outlines the map draws, read from the bundle's world-map.bin: rings of
// points in the Mercator unit square (see MercatorProjection). A ring that crosses
// the antimeridian continues past x = 1 (or below 0); the map draws the neighbouring
// copies of the world that show that part.
class MapOutlines {
public:
    struct Ring {
        QPolygonF points;
        QRectF bounds;
    };

    // The bundle's outlines, read on first use; empty when the file is missing.
    static const MapOutlines& shared();

    // Reads the file; false (and no rings) when it is missing or malformed.
    bool load(const QString& path);
    const std::vector<Ring>& rings() const { return rings_; }
    bool isEmpty() const { return rings_.empty(); }

private:
    std::vector<Ring> rings_;
};

} // namespace ui
