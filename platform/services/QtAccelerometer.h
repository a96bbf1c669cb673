#pragma once

#include "platform/services/Accelerometer.h"

#include <QByteArray>
#include <QList>
#include <QTimer>

#include <memory>
#include <optional>

class QAccelerometer;

namespace services {

// The accelerometer over Qt Sensors. The sensor reports as often as it likes; the
// latest reading, in units of gravity, reaches the delegate once an update interval.
class QtAccelerometer : public Accelerometer {
public:
    static constexpr double kStandardGravity = 9.80665; // m/s² in one g

    // The sensor of Qt's backend `identifier`; an empty one, or one that does not
    // connect, is no accelerometer at all.
    explicit QtAccelerometer(const QByteArray& identifier);
    ~QtAccelerometer() override;

    // The backend to use among Qt's accelerometers: the default one, unless it is Qt's
    // stand-in that reports a constant reading; empty when there is none.
    static QByteArray chooseBackend(const QByteArray& defaultIdentifier,
                                    const QList<QByteArray>& identifiers);
    static QByteArray chooseSystemBackend();

    bool isAvailable() const override { return sensor_ != nullptr; }
    void setUpdateInterval(double seconds) override;
    void setDelegate(AccelerometerDelegate* delegate) override;

private:
    void keepReading();
    void deliver();
    void startOrStop();

    std::unique_ptr<QAccelerometer> sensor_;
    QTimer timer_;
    AccelerometerDelegate* delegate_ = nullptr;
    std::optional<Acceleration> latest_;
    double interval_ = 0.1;
};

} // namespace services
