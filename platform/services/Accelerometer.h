#pragma once

namespace services {

// One reading of the accelerometer, in units of gravity.
struct Acceleration {
    double x = 0;
    double y = 0;
    double z = 0;
};

class Accelerometer;

class AccelerometerDelegate {
public:
    virtual ~AccelerometerDelegate() = default;
    virtual void accelerometerDidAccelerate(Accelerometer* /*accelerometer*/,
                                            const Acceleration& /*acceleration*/) {}
};

// The device's shared accelerometer: readings reach the delegate on the main thread,
// at most once per update interval. The Linux one reads Qt Sensors (iio-sensor-proxy),
// converting m/s² to g; on a machine without one, isAvailable() is false and nothing
// is ever delivered.
class Accelerometer {
public:
    static Accelerometer* sharedAccelerometer();

    virtual ~Accelerometer() = default;
    virtual bool isAvailable() const = 0;
    virtual void setUpdateInterval(double seconds) = 0;
    virtual void setDelegate(AccelerometerDelegate* delegate) = 0;

    // Puts a test's accelerometer in place of the platform's (nullptr: the platform's).
    static void setSharedForTesting(Accelerometer* accelerometer);
};

} // namespace services
