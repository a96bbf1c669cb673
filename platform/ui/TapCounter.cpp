#include "platform/ui/TapCounter.h"

#include <cmath>

namespace ui {

int TapCounter::registerTap(double timestampSeconds, Point location) {
    int count = 1;
    if (previous_) {
        const double interval = timestampSeconds - previous_->time;
        const double distance =
            std::hypot(location.x - previous_->location.x, location.y - previous_->location.y);
        if (interval >= 0 && interval <= kMaximumInterval && distance <= kMaximumDistance) {
            count = previous_->count + 1;
        }
    }
    previous_ = Tap{timestampSeconds, location, count};
    return count;
}

} // namespace ui
