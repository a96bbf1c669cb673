#include "platform/services/Accelerometer.h"

#include "platform/services/QtAccelerometer.h"

namespace services {

namespace {

Accelerometer* testAccelerometer = nullptr;

} // namespace

Accelerometer* Accelerometer::sharedAccelerometer() {
    if (testAccelerometer != nullptr) {
        return testAccelerometer;
    }
    // Made on first use on the main thread and kept for the process's life.
    static Accelerometer* platform = new QtAccelerometer(QtAccelerometer::chooseSystemBackend());
    return platform;
}

void Accelerometer::setSharedForTesting(Accelerometer* accelerometer) {
    testAccelerometer = accelerometer;
}

} // namespace services
