#include "platform/ui/DelayedPerform.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>

namespace ui {

namespace {

struct Registry {
    std::mutex mutex;
    std::uint64_t lastId = 0;
    std::map<std::uint64_t, const void*> pending; // request id → target
};

Registry& registry() {
    static Registry instance;
    return instance;
}

// Takes the request out of the registry; false when it was cancelled.
bool claim(std::uint64_t id) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.pending.erase(id) == 1;
}

} // namespace

void DelayedPerform::performAfterDelay(const void* target, double seconds,
                                       std::function<void()> work) {
    Registry& r = registry();
    std::uint64_t id = 0;
    {
        std::lock_guard lock(r.mutex);
        id = ++r.lastId;
        r.pending.emplace(id, target);
    }
    const int milliseconds = static_cast<int>(std::max(0.0, std::ceil(seconds * 1000.0)));
    // Without a context object the timer lives in, and fires on, the calling thread.
    QTimer::singleShot(milliseconds, [id, work = std::move(work)] {
        if (claim(id)) {
            work();
        }
    });
}

void DelayedPerform::cancelPreviousPerformRequestsWithTarget(const void* target) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.pending, [target](const auto& entry) { return entry.second == target; });
}

int DelayedPerform::pendingCount(const void* target) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return static_cast<int>(std::count_if(r.pending.begin(), r.pending.end(),
                                          [target](const auto& e) { return e.second == target; }));
}

} // namespace ui
