#pragma once

#include <functional>

namespace ui {

// Work to run once after a delay, on the event loop of the thread that asked for
// it, that can be called off by target from any thread: the device's "perform
// selector after delay" and "cancel previous perform requests with target".
class DelayedPerform {
public:
    // The calling thread must run a Qt event loop (the main thread, or a QThread in
    // exec()).
    static void performAfterDelay(const void* target, double seconds, std::function<void()> work);
    // Cancels every request still pending for `target`; a cancelled request never
    // runs, even when its timer has already fired.
    static void cancelPreviousPerformRequestsWithTarget(const void* target);
    static int pendingCount(const void* target);
};

} // namespace ui
