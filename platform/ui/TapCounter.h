#pragma once

#include "platform/ui/Geometry.h"

#include <optional>

namespace ui {

// Counts quick successive taps as the device does: a tap that comes within 0.35 s
// of the previous one and within 20 points of it is the next in the series (2, 3,
// 4…); any other tap starts a new series at 1.
class TapCounter {
public:
    static constexpr double kMaximumInterval = 0.35;
    static constexpr double kMaximumDistance = 20;

    // The tap count of a tap at `timestampSeconds` (any steady clock) and `location`.
    int registerTap(double timestampSeconds, Point location);
    void reset() { previous_.reset(); }

private:
    struct Tap {
        double time;
        Point location;
        int count;
    };
    std::optional<Tap> previous_;
};

} // namespace ui
