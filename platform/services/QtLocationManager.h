#pragma once

#include "platform/services/LocationManager.h"

#include <QGeoPositionInfoSource>
#include <QObject>

#include <memory>

namespace services {

// The location service over a Qt Positioning source: the system's default (GeoClue2)
// or an NMEA log replayed at its recorded pace. Readings and errors reach the delegate
// on the thread the source lives in, the main thread.
class QtLocationManager : public LocationManager {
public:
    // The range error of one satellite that a receiver's dilution of precision scales:
    // an NMEA log gives only the dilution, and Qt makes the accuracy (95 % confidence)
    // twice the dilution times this.
    static constexpr double kNmeaRangeErrorMetres = 5.0;

    // Takes `source`, which may be nullptr: then location services are off.
    explicit QtLocationManager(QGeoPositionInfoSource* source);
    ~QtLocationManager() override;

    // The system's default source; nullptr inside when there is none.
    static std::unique_ptr<QtLocationManager> withDefaultSource();
    // The fixes of the NMEA log at `path`; location services are off when it can't be
    // opened.
    static std::unique_ptr<QtLocationManager> withNmeaLog(const QString& path);

    bool locationServicesEnabled() const override { return source_ != nullptr; }
    void startUpdatingLocation() override;
    void stopUpdatingLocation() override;

    // A position as a reading: accuracies and altitude Qt does not know are negative
    // accuracies.
    static LocationReading readingOf(const QGeoPositionInfo& info);
    static LocationError errorOf(QGeoPositionInfoSource::Error error);

private:
    static constexpr int kServiceAnswerMs = 5000;

    void askForService();
    void failForNoService();
    void deliver(const QGeoPositionInfo& info);
    void fail(QGeoPositionInfoSource::Error error);

    std::unique_ptr<QGeoPositionInfoSource> source_;
    std::optional<LocationReading> previous_;
    bool updating_ = false;
    bool askForService_ = false; // the default source: is the service there at all?
};

} // namespace services
