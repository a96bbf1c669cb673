#pragma once

#include "platform/services/LocationManager.h"

#include <QDateTime>

// A location service whose readings the test sends.
class FakeLocationManager : public services::LocationManager {
public:
    explicit FakeLocationManager(bool enabled = true) : enabled_(enabled) {}
    bool locationServicesEnabled() const override { return enabled_; }
    void startUpdatingLocation() override { ++starts; }
    void stopUpdatingLocation() override {}
    void send(double latitude, double accuracy, int secondsAgo = 0,
              const std::optional<services::LocationReading>& old = {}) {
        send({latitude, 10, 0, accuracy, -1, QDateTime::currentDateTimeUtc().addSecs(-secondsAgo)},
             old);
    }
    void send(const services::LocationReading& reading,
              const std::optional<services::LocationReading>& old = {}) {
        delegate_->locationManagerDidUpdateToLocationFromLocation(this, reading, old);
    }
    int starts = 0;

private:
    bool enabled_;
};
