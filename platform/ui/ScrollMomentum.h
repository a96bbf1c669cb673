#pragma once

#include <chrono>
#include <deque>

namespace ui {

// How content moves under a finger and after it: what a drag leaves behind as
// velocity, the coast that velocity carries on with, slowing as the platform's lists
// do, and the spring that pulls content dragged or thrown past an end back to that
// end. Offsets are in points, the distance scrolled from the top; every position
// follows from the time asked about, so that any frame rate, or a test's clock, sees
// the same path.
class ScrollMomentum {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Slower releases stay where they are.
    static constexpr double kMinimumFlickSpeed = 250; // points a second
    // The share of its speed a coast keeps each millisecond.
    static constexpr double kDecelerationRate = 0.998;
    // Only the moves of the last moment before a release make its velocity.
    static constexpr std::chrono::milliseconds kVelocityWindow{100};
    // Moves closer together in time than this measure no velocity: a drag made at
    // once (a program's, or a single event) does not fling the content.
    static constexpr std::chrono::milliseconds kShortestMeasure{5};
    // Content dragged past an end moves this much of the finger's distance.
    static constexpr double kRubberBand = 0.5;
    // The spring's rate (critically damped), per second.
    static constexpr double kSpringRate = 12;

    // The offset shown for a finger that would put the content at `offset`, and back.
    static double resisted(double offset, double minimum, double maximum);
    static double unresisted(double shown, double minimum, double maximum);

    // A drag begins, goes on and is let go of at `offset`; the release coasts, springs
    // back from past an end, or stays.
    void beginDrag(double offset, TimePoint at);
    void dragTo(double offset, TimePoint at);
    void release(double offset, TimePoint at, double minimum, double maximum);
    void stop() { phase_ = Phase::Resting; }

    // The offset at `at` (not before the last release); the content rests once this
    // has returned an offset it stays at.
    double offsetAt(TimePoint at);
    bool isMoving() const { return phase_ != Phase::Resting; }
    // The velocity a release measured, in points a second, up the content positive.
    double releaseVelocity() const { return releaseVelocity_; }

private:
    enum class Phase { Resting, Coasting, Springing };
    struct Sample {
        double offset;
        TimePoint at;
    };

    double measuredVelocity(TimePoint releasedAt) const;
    void coast(double from, double velocity, TimePoint at);
    void spring(double edge, double from, double velocity, TimePoint at);
    double coastAt(double seconds);
    double springAt(double seconds);

    std::deque<Sample> samples_;
    Phase phase_ = Phase::Resting;
    TimePoint start_;
    double from_ = 0;     // coasting: the offset; springing: the distance past the edge
    double velocity_ = 0; // at start_
    double edge_ = 0;     // springing: the end it returns to
    double minimum_ = 0;
    double maximum_ = 0;
    double releaseVelocity_ = 0;
};

} // namespace ui
