#include "platform/ui/ScrollMomentum.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Below this speed, in points a second, moving content has stopped.
constexpr double kRestSpeed = 5;
// Closer than this to its end, in points, a spring has returned.
constexpr double kRestDistance = 0.25;

double seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

std::chrono::steady_clock::duration after(double seconds) {
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(seconds));
}

// The time constant of the coast's slowing: its speed falls by e in this many seconds.
double coastTimeConstant() {
    return -0.001 / std::log(ScrollMomentum::kDecelerationRate);
}

} // namespace

double ScrollMomentum::resisted(double offset, double minimum, double maximum) {
    if (offset < minimum) {
        return minimum - (minimum - offset) * kRubberBand;
    }
    if (offset > maximum) {
        return maximum + (offset - maximum) * kRubberBand;
    }
    return offset;
}

double ScrollMomentum::unresisted(double shown, double minimum, double maximum) {
    if (shown < minimum) {
        return minimum - (minimum - shown) / kRubberBand;
    }
    if (shown > maximum) {
        return maximum + (shown - maximum) / kRubberBand;
    }
    return shown;
}

void ScrollMomentum::beginDrag(double offset, TimePoint at) {
    phase_ = Phase::Resting;
    samples_.clear();
    dragTo(offset, at);
}

void ScrollMomentum::dragTo(double offset, TimePoint at) {
    samples_.push_back({offset, at});
    while (samples_.front().at < at - kVelocityWindow) {
        samples_.pop_front();
    }
}

double ScrollMomentum::measuredVelocity(TimePoint releasedAt) const {
    const auto first = std::find_if(samples_.begin(), samples_.end(), [&](const Sample& s) {
        return s.at >= releasedAt - kVelocityWindow;
    });
    if (first == samples_.end() || samples_.back().at - first->at < kShortestMeasure) {
        return 0;
    }
    return (samples_.back().offset - first->offset) / seconds(samples_.back().at - first->at);
}

void ScrollMomentum::release(double offset, TimePoint at, double minimum, double maximum) {
    releaseVelocity_ = measuredVelocity(at);
    samples_.clear();
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    from_ = offset;
    if (offset < minimum_ || offset > maximum_) {
        spring(offset < minimum_ ? minimum_ : maximum_, offset, releaseVelocity_, at);
    } else if (std::abs(releaseVelocity_) >= kMinimumFlickSpeed) {
        coast(offset, releaseVelocity_, at);
    } else {
        phase_ = Phase::Resting;
    }
}

void ScrollMomentum::coast(double from, double velocity, TimePoint at) {
    phase_ = Phase::Coasting;
    start_ = at;
    from_ = from;
    velocity_ = velocity;
}

void ScrollMomentum::spring(double edge, double from, double velocity, TimePoint at) {
    phase_ = Phase::Springing;
    start_ = at;
    edge_ = edge;
    from_ = from - edge;
    velocity_ = velocity;
}

double ScrollMomentum::offsetAt(TimePoint at) {
    const double elapsed = std::max(0.0, seconds(at - start_));
    switch (phase_) {
    case Phase::Coasting:
        return coastAt(elapsed);
    case Phase::Springing:
        return springAt(elapsed);
    case Phase::Resting:
        break;
    }
    return samples_.empty() ? from_ : samples_.back().offset;
}

// offset(t) = from + v·τ·(1 − e^(−t/τ)), speed v·e^(−t/τ), until it slows to rest or
// crosses an end, where the spring takes the content on at the speed it had there.
double ScrollMomentum::coastAt(double elapsed) {
    const double tau = coastTimeConstant();
    const double restsAfter = tau * std::log(std::abs(velocity_) / kRestSpeed);
    const auto offset = [&](double t) {
        return from_ + velocity_ * tau * (1 - std::exp(-t / tau));
    };
    const double edge = velocity_ > 0 ? maximum_ : minimum_;
    const double share = (edge - from_) / (velocity_ * tau);
    if (share < 1) {
        const double crossing = -tau * std::log(1 - share);
        if (crossing < restsAfter && elapsed >= crossing) {
            spring(edge, edge, velocity_ * std::exp(-crossing / tau), start_ + after(crossing));
            return springAt(elapsed - crossing);
        }
    }
    if (elapsed >= restsAfter) {
        phase_ = Phase::Resting;
        from_ = std::clamp(offset(restsAfter), minimum_, maximum_);
        return from_;
    }
    return offset(elapsed);
}

// A critically damped spring, x the distance past the edge:
// x(t) = (x₀ + (v₀ + ωx₀)t)·e^(−ωt).
double ScrollMomentum::springAt(double elapsed) {
    const double w = kSpringRate;
    const double decay = std::exp(-w * elapsed);
    const double x = (from_ + (velocity_ + w * from_) * elapsed) * decay;
    const double speed = (velocity_ - w * (velocity_ + w * from_) * elapsed) * decay;
    if (std::abs(x) < kRestDistance && std::abs(speed) < kRestSpeed) {
        phase_ = Phase::Resting;
        from_ = edge_;
        return edge_;
    }
    return edge_ + x;
}

} // namespace ui
