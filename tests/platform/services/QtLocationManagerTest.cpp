#include "platform/services/QtLocationManager.h"
#include "support/EventLoop.h"
#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <gtest/gtest.h>

namespace {

using services::LocationReading;
using services::QtLocationManager;

class ReadingRecorder : public services::LocationManagerDelegate {
public:
    void locationManagerDidUpdateToLocationFromLocation(
        services::LocationManager*, const LocationReading& reading,
        const std::optional<LocationReading>& previous) override {
        readings.push_back(reading);
        hadPrevious.push_back(previous.has_value());
    }
    void locationManagerDidFailWithError(services::LocationManager*,
                                         const services::LocationError& error) override {
        errors.push_back(error);
    }
    std::vector<LocationReading> readings;
    std::vector<bool> hadPrevious;
    std::vector<services::LocationError> errors;
};

// Three fixes of a receiver's log: the accuracy is the radius of 95 % confidence, twice
// the dilution of precision times the range error.
TEST(QtLocationManager, ReplaysTheFixesOfAnNmeaLog) {
    qputenv("ORMEL_NMEA_LOG", testenv::fixturePath("location/three-fixes.nmea").toUtf8());
    auto manager = services::LocationManager::create();
    qunsetenv("ORMEL_NMEA_LOG");
    ReadingRecorder recorder;
    manager->setDelegate(&recorder);
    manager->startUpdatingLocation();
    ASSERT_TRUE(testenv::processEventsUntil([&] { return recorder.readings.size() >= 3; }));
    manager->stopUpdatingLocation();

    const double fixes[3][4] = {
        {48.1173, 11.516667, 545.4, 0.9}, {35.5, 139.75, 40.0, 2.0}, {-33.75, -70.5, -12.5, 1.2}};
    for (int i = 0; i < 3; ++i) {
        const LocationReading& r = recorder.readings[i];
        EXPECT_NEAR(r.latitude, fixes[i][0], 1e-6) << i;
        EXPECT_NEAR(r.longitude, fixes[i][1], 1e-6) << i;
        EXPECT_NEAR(r.altitude, fixes[i][2], 1e-9) << i;
        EXPECT_NEAR(r.horizontalAccuracy,
                    2 * fixes[i][3] * QtLocationManager::kNmeaRangeErrorMetres, 1e-9);
        EXPECT_EQ(r.timestamp.date(), QDate(2026, 12, 7)) << i;
        EXPECT_EQ(recorder.hadPrevious[i], i > 0) << i;
    }
    EXPECT_TRUE(recorder.errors.empty());
    EXPECT_FALSE(QtLocationManager::withNmeaLog("/nonexistent.nmea")->locationServicesEnabled());
}

// Whatever the machine has (no GeoClue on CI), the system's source starts and stops
// without holding up the caller, and any error it reports has a meaning.
TEST(QtLocationManager, TheSystemSourceStartsAndStops) {
    auto manager = QtLocationManager::withDefaultSource();
    ReadingRecorder recorder;
    manager->setDelegate(&recorder);
    manager->startUpdatingLocation();
    testenv::flushEvents();
    manager->stopUpdatingLocation();
    for (const auto& error : recorder.errors) {
        EXPECT_TRUE(!error.locationDomain || error.code <= 1);
    }
    using Source = QGeoPositionInfoSource;
    EXPECT_EQ(QtLocationManager::errorOf(Source::AccessError).code, 1);
    EXPECT_EQ(QtLocationManager::errorOf(Source::ClosedError).code, 0);
    EXPECT_FALSE(QtLocationManager::errorOf(Source::UnknownSourceError).locationDomain);
}

// Where GeoClue is not installed (CI), the system's source would say nothing: a scan
// hears at once that there is no service instead of waiting for its end.
TEST(LiveHostLocationService, WithoutGeoClueAStartFailsAtOnce) {
    const QStringList activatable =
        QDBusConnection::systemBus().interface() != nullptr
            ? QDBusConnection::systemBus().interface()->activatableServiceNames().value()
            : QStringList();
    if (activatable.contains("org.freedesktop.GeoClue2") && qEnvironmentVariable("CI") != "true") {
        GTEST_SKIP() << "GeoClue is installed here";
    }
    auto manager = QtLocationManager::withDefaultSource();
    ReadingRecorder recorder;
    manager->setDelegate(&recorder);
    manager->startUpdatingLocation();
    ASSERT_TRUE(testenv::processEventsUntil([&] { return !recorder.errors.empty(); }, 10000));
    EXPECT_FALSE(recorder.errors.front().locationDomain);
    EXPECT_TRUE(recorder.errors.front().localizedDescription.contains("GeoClue"));
    manager->stopUpdatingLocation();
}

TEST(QtLocationManager, PositionsWithoutAltitudeOrAccuracyHaveNegativeAccuracies) {
    const LocationReading flat =
        QtLocationManager::readingOf(QGeoPositionInfo(QGeoCoordinate(1, 2), QDateTime()));
    EXPECT_LT(flat.horizontalAccuracy, 0);
    EXPECT_LT(flat.verticalAccuracy, 0);
}

} // namespace
