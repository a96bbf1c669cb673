#pragma once

#include "platform/ui/DelayedPerform.h"
#include "support/EventLoop.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <utility>

namespace testenv {

// A timer whose time moves only when the test moves it, and the clock that reads that
// time. Requests from another thread start it while the main thread waits for them.
class ManualTimer : public ui::DelayTimer {
public:
    void start(int milliseconds, std::function<void()> elapsed) override {
        waiting_.emplace(now_ + milliseconds, std::move(elapsed));
    }
    // Moves time on and calls back, here and earliest first, every timer due by then.
    void advanceBy(int milliseconds) {
        now_ += milliseconds;
        while (!waiting_.empty() && waiting_.begin()->first <= now_) {
            const std::function<void()> elapsed = std::move(waiting_.begin()->second);
            waiting_.erase(waiting_.begin());
            elapsed();
        }
    }
    // Moves time on a frame (16 ms) at a time, letting the event loop run the work
    // each frame posts, as frame-by-frame motion needs.
    void runFor(int milliseconds) {
        constexpr int kFrame = 16;
        for (int step = 0; step < milliseconds; step += kFrame) {
            advanceBy(std::min(kFrame, milliseconds - step));
            flushEvents();
        }
    }
    std::chrono::steady_clock::time_point now() const {
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(now_));
    }

private:
    long long now_ = 0;
    std::multimap<long long, std::function<void()>> waiting_;
};

} // namespace testenv
