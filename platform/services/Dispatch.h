#pragma once

#include <QObject>

#include <functional>

namespace services {

// Work queues of the platform: the main queue (the GUI thread's event loop) and the
// default-priority global queue (a pool of worker threads).
class Dispatch {
public:
    static void asyncMain(std::function<void()> work);
    // Main-queue work that is dropped if `context` (an object of the main thread) is
    // destroyed before it runs.
    static void asyncMain(const QObject* context, std::function<void()> work);
    static void asyncGlobal(std::function<void()> work);
};

} // namespace services
