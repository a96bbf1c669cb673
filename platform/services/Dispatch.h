#pragma once

#include <functional>

namespace services {

// Work queues of the platform: the main queue (the GUI thread's event loop) and the
// default-priority global queue (a pool of worker threads).
class Dispatch {
public:
    static void asyncMain(std::function<void()> work);
    static void asyncGlobal(std::function<void()> work);
};

} // namespace services
