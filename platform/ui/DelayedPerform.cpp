#include "platform/ui/DelayedPerform.h"

#include <QObject>
#include <QThreadStorage>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>

namespace ui {

namespace {

class QtDelayTimer final : public DelayTimer {
public:
    void start(int milliseconds, std::function<void()> elapsed) override {
        // Without a context object the timer lives in, and fires on, the calling thread.
        QTimer::singleShot(milliseconds, std::move(elapsed));
    }
};

struct Registry {
    std::mutex mutex;
    std::uint64_t lastId = 0;
    std::map<std::uint64_t, const void*> pending; // request id → target
    DelayTimer* timer = nullptr;                  // nullptr: the Qt timer
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

// The object of the calling thread that due work is posted to, so that it runs on that
// thread's event loop. The thread's storage owns it and deletes it when the thread ends.
QObject* contextOfCallingThread() {
    static QThreadStorage<QObject*> contexts;
    if (!contexts.hasLocalData()) {
        contexts.setLocalData(new QObject);
    }
    return contexts.localData();
}

} // namespace

void DelayedPerform::performAfterDelay(const void* target, double seconds,
                                       std::function<void()> work) {
    static QtDelayTimer qtTimer;
    Registry& r = registry();
    std::uint64_t id = 0;
    DelayTimer* timer = nullptr;
    {
        std::lock_guard lock(r.mutex);
        id = ++r.lastId;
        r.pending.emplace(id, target);
        timer = r.timer != nullptr ? r.timer : &qtTimer;
    }
    const int milliseconds = static_cast<int>(std::max(0.0, std::ceil(seconds * 1000.0)));
    // Whichever thread the timer calls back on, the work is posted to the asking
    // thread's event loop, and whether the request still holds is decided only there:
    // a cancel that comes between the timer and the event loop wins.
    QObject* context = contextOfCallingThread();
    timer->start(milliseconds, [context, id, work = std::move(work)] {
        QMetaObject::invokeMethod(
            context,
            [id, work] {
                if (claim(id)) {
                    work();
                }
            },
            Qt::QueuedConnection);
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

void DelayedPerform::setTimer(DelayTimer* timer) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.timer = timer;
}

} // namespace ui
