#pragma once

class WorldMapView;

// Told of the taps on a world map; does nothing unless overridden.
class WorldMapViewDelegate {
public:
    virtual ~WorldMapViewDelegate() = default;
    // `tapCount` is 1, 2 or 3: one report for a quick series of taps.
    virtual void worldMapViewTapCount(WorldMapView* /*view*/, int /*tapCount*/) {}
};
