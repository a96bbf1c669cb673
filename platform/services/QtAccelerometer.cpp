#include "platform/services/QtAccelerometer.h"

#include <QAccelerometer>

#include <algorithm>
#include <cmath>

namespace services {

namespace {

bool isStandIn(const QByteArray& identifier) {
    return identifier.startsWith("dummy.");
}

} // namespace

QtAccelerometer::QtAccelerometer(const QByteArray& identifier) {
    if (identifier.isEmpty()) {
        return;
    }
    sensor_ = std::make_unique<QAccelerometer>();
    sensor_->setIdentifier(identifier);
    if (!sensor_->connectToBackend()) {
        sensor_.reset();
        return;
    }
    QObject::connect(sensor_.get(), &QSensor::readingChanged, sensor_.get(),
                     [this] { keepReading(); });
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { deliver(); });
    setUpdateInterval(interval_);
}

QtAccelerometer::~QtAccelerometer() = default;

QByteArray QtAccelerometer::chooseBackend(const QByteArray& defaultIdentifier,
                                          const QList<QByteArray>& identifiers) {
    if (!defaultIdentifier.isEmpty() && !isStandIn(defaultIdentifier)) {
        return defaultIdentifier;
    }
    const auto found = std::find_if(identifiers.begin(), identifiers.end(),
                                    [](const QByteArray& id) { return !isStandIn(id); });
    return found == identifiers.end() ? QByteArray() : *found;
}

QByteArray QtAccelerometer::chooseSystemBackend() {
    return chooseBackend(QSensor::defaultSensorForType(QAccelerometer::sensorType),
                         QSensor::sensorsForType(QAccelerometer::sensorType));
}

void QtAccelerometer::setUpdateInterval(double seconds) {
    interval_ = std::max(seconds, 0.001);
    timer_.setInterval(static_cast<int>(std::lround(interval_ * 1000)));
}

void QtAccelerometer::setDelegate(AccelerometerDelegate* delegate) {
    delegate_ = delegate;
    startOrStop();
}

void QtAccelerometer::startOrStop() {
    if (sensor_ == nullptr) {
        return;
    }
    if (delegate_ == nullptr) {
        timer_.stop();
        sensor_->stop();
        latest_.reset();
        return;
    }
    if (!sensor_->isActive()) {
        sensor_->start();
    }
    timer_.start();
}

void QtAccelerometer::keepReading() {
    const QAccelerometerReading* reading = sensor_->reading();
    if (reading == nullptr) {
        return;
    }
    // Qt reports the force that holds the device up (+1 g on z lying face up); the
    // device reports gravity itself (−1 g on z): the same axes, the opposite sign.
    latest_ = Acceleration{-reading->x() / kStandardGravity, -reading->y() / kStandardGravity,
                           -reading->z() / kStandardGravity};
}

void QtAccelerometer::deliver() {
    if (latest_ && delegate_ != nullptr) {
        delegate_->accelerometerDidAccelerate(this, *latest_);
    }
}

} // namespace services
