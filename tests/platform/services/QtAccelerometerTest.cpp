#include "platform/services/QtAccelerometer.h"
#include "support/EventLoop.h"

#include <QAccelerometer>
#include <QSensorBackend>
#include <QSensorManager>
#include <gtest/gtest.h>

namespace {

using services::QtAccelerometer;

// A sensor lying on its left edge: one g along x, half a g against y.
class TiltedBackend : public QSensorBackend, public QSensorBackendFactory {
public:
    TiltedBackend() : QSensorBackend(nullptr) {}
    explicit TiltedBackend(QSensor* sensor) : QSensorBackend(sensor) { setReading(&reading_); }
    QSensorBackend* createBackend(QSensor* sensor) override { return new TiltedBackend(sensor); }
    void start() override {
        reading_.setX(9.80665);
        reading_.setY(-4.903325);
        newReadingAvailable();
    }
    void stop() override {}

private:
    QAccelerometerReading reading_;
};

class AccelerationRecorder : public services::AccelerometerDelegate {
public:
    void accelerometerDidAccelerate(services::Accelerometer*,
                                    const services::Acceleration& acceleration) override {
        readings.push_back(acceleration);
    }
    std::vector<services::Acceleration> readings;
};

TEST(QtAccelerometer, DeliversReadingsInUnitsOfGravityAndNoneWithoutASensor) {
    TiltedBackend factory;
    QSensorManager::registerBackend(QAccelerometer::sensorType, "ormel.tilted", &factory);
    QtAccelerometer tilted{QByteArray("ormel.tilted")};
    QtAccelerometer none{QByteArray("ormel.no.such.sensor")};
    EXPECT_FALSE(none.isAvailable());
    AccelerationRecorder recorder;
    AccelerationRecorder silent;
    tilted.setUpdateInterval(0.01);
    none.setUpdateInterval(0.01);
    none.setDelegate(&silent);
    tilted.setDelegate(&recorder);
    ASSERT_TRUE(testenv::processEventsUntil([&] { return !recorder.readings.empty(); }));
    // In g, with gravity's sign as the device gives it.
    EXPECT_NEAR(recorder.readings[0].x, -1.0, 1e-12);
    EXPECT_NEAR(recorder.readings[0].y, 0.5, 1e-12);
    EXPECT_TRUE(silent.readings.empty());
    tilted.setDelegate(nullptr);
    QSensorManager::unregisterBackend(QAccelerometer::sensorType, "ormel.tilted");
}

// Qt's stand-in backend reports a constant reading on any machine: it is no sensor.
TEST(QtAccelerometer, TheStandInBackendIsNoSensor) {
    EXPECT_TRUE(
        QtAccelerometer::chooseBackend("dummy.accelerometer", {"dummy.accelerometer"}).isEmpty());
    EXPECT_EQ(QtAccelerometer::chooseBackend("dummy.accelerometer", {"dummy.accelerometer", "a.b"}),
              QByteArray("a.b"));
}

} // namespace
