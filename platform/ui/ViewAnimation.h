#pragma once

#include "platform/ui/Geometry.h"

#include <chrono>
#include <functional>

class QWidget;

namespace ui {

// A view's frame moved to a new one over a time, eased in and out, frame by frame on
// DelayedPerform's timer and a clock tests can set: the device's block animations of
// a view's frame. Main thread only.
class ViewAnimation {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Moves `view` to `to` over `seconds`, then calls `completion` (when given). A new
    // animation of the same view takes over from where the view is: the one before
    // ends there without its completion. A view destroyed while it moves ends its
    // animation without completion. With animations off, the view is placed at once
    // and the completion called before this returns.
    static void animateFrame(QWidget* view, Rect to, double seconds,
                             std::function<void()> completion = {});
    static bool isAnimating(const QWidget* view);

    // Off for runs that draw one still picture (screenshots, dumps).
    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();

    // The time animations follow; an empty function puts back the steady clock.
    static void setClock(std::function<TimePoint()> clock);

    // The device's ease-in-out timing: the cubic Bézier through (0.42, 0) and (0.58, 1)
    // at `progress` (0 to 1).
    static double easeInOut(double progress);
};

} // namespace ui
