#pragma once

#include "platform/services/LocationReading.h"

#include <QString>

#include <optional>

// The accepted location reading, with the distance moved since the one before and its
// age, and its coordinates in degrees, minutes and seconds for display.
class GeoData {
public:
    const std::optional<services::LocationReading>& location() const { return location_; }
    void setLocation(const services::LocationReading& reading) { location_ = reading; }
    double distanceMoved() const { return distanceMoved_; }
    void setDistanceMoved(double metres) { distanceMoved_ = metres; }
    double timeElapsed() const { return timeElapsed_; }
    void setTimeElapsed(double seconds) { timeElapsed_ = seconds; }

    QString formattedLatitude() const;
    QString formattedLongitude() const;
    QString formattedAltitude() const;
    QString latitudeString() const; // "%.2lf"
    QString longitudeString() const;
    QString altitudeString() const;
    QString horizontalAccuracyString() const;
    QString verticalAccuracyString() const;
    QString timestampString() const;

    static QString toGeodesicLatitude(double degrees);
    static QString toGeodesicLongitude(double degrees);
    static QString toFormattedAltitude(double metres);

private:
    std::optional<services::LocationReading> location_;
    double distanceMoved_ = 0;
    double timeElapsed_ = 0;
};
