#pragma once

#include <QObject>

#include <functional>

namespace services {

// The main queue of the platform: work queued from any thread onto the GUI thread's
// event loop.
class Dispatch {
public:
    // Main-queue work that is dropped if `context` (an object of the main thread) is
    // destroyed before it runs.
    static void asyncMain(const QObject* context, std::function<void()> work);
};

} // namespace services
