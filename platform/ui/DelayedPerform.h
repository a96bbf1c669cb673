#pragma once

#include <functional>

namespace ui {

// What tells a delayed request that its delay has passed. The kit's own uses a Qt
// timer on the calling thread's event loop; tests put in one whose time they move.
class DelayTimer {
public:
    virtual ~DelayTimer() = default;
    // Calls `elapsed` once, `milliseconds` from now or later, on any thread.
    virtual void start(int milliseconds, std::function<void()> elapsed) = 0;
};

// Work to run once after a delay, on the event loop of the thread that asked for
// it, that can be called off by target from any thread: the device's "perform
// selector after delay" and "cancel previous perform requests with target".
class DelayedPerform {
public:
    // The calling thread must run a Qt event loop (the main thread, or a QThread in
    // exec()). When the delay has passed the work is posted to that loop.
    static void performAfterDelay(const void* target, double seconds, std::function<void()> work);
    // Cancels every request still pending for `target`; a cancelled request never
    // runs, even when its delay has passed and its work waits in the event loop.
    static void cancelPreviousPerformRequestsWithTarget(const void* target);
    static int pendingCount(const void* target);

    // The timer later requests start; nullptr puts back the Qt timer. The caller
    // keeps ownership and must keep it alive while requests it started are pending.
    static void setTimer(DelayTimer* timer);
};

} // namespace ui
