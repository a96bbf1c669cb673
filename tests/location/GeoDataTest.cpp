#include "location/GeoData.h"
#include "support/ScopedLocale.h"

#include <gtest/gtest.h>

namespace {

TEST(GeoData, DegreesMinutesAndSecondsWithTheHemisphere) {
    EXPECT_EQ(GeoData::toGeodesicLatitude(35.5), QStringLiteral("N 35° 30′ 0.00″"));
    EXPECT_EQ(GeoData::toGeodesicLatitude(-0.25), QStringLiteral("S 0° 15′ 0.00″"));
    EXPECT_EQ(GeoData::toGeodesicLatitude(-0.0), QStringLiteral("S 0° 0′ 0.00″"));
    EXPECT_EQ(GeoData::toGeodesicLongitude(-70.5083), QStringLiteral("W 70° 30′ 29.88″"));
    EXPECT_EQ(GeoData::toFormattedAltitude(-12.5), QStringLiteral("12.50 m below sea level"));
}

TEST(GeoData, UnavailableWithoutAccuracy) {
    GeoData geoData;
    geoData.setLocation({35.5, -0.25, 40, -1, 3.456, {}});
    EXPECT_EQ(geoData.formattedLatitude(), QStringLiteral("Latitude unavailable"));
    EXPECT_EQ(geoData.formattedLongitude(), QStringLiteral("Longitude unavailable"));
    EXPECT_EQ(geoData.formattedAltitude(), QStringLiteral("40.00 m above sea level"));
    EXPECT_EQ(geoData.longitudeString(), QStringLiteral("-0.25"));
    geoData.setLocation({35.5, -0.25, 40, 10, -1, {}});
    EXPECT_EQ(geoData.formattedLongitude(), QStringLiteral("W 0° 15′ 0.00″"));
    EXPECT_EQ(geoData.formattedAltitude(), QStringLiteral("Altitude unavailable"));
}

TEST(GeoData, TimestampInTheLocalesMediumStyles) {
    testenv::ScopedLocale english(QLocale::English, QLocale::UnitedStates);
    GeoData geoData;
    geoData.setLocation({0, 0, 0, 1, 1, QDateTime(QDate(2026, 12, 7), QTime(18, 43, 4)).toUTC()});
    EXPECT_EQ(geoData.timestampString(), QStringLiteral("Dec 7, 2026 6:43:04 PM"));
}

} // namespace
