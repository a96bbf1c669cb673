#include "location/GeoData.h"

#include "common/Resources.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

QString twoDecimals(double value) {
    return QString::asprintf("%.2lf", value);
}

// Degrees, minutes and seconds of |degrees| in the format of `formatKey`, after the
// hemisphere word: `negativeKey`'s for a negative angle (−0 included), else
// `positiveKey`'s.
QString geodesic(double degrees, const char* formatKey, const char* negativeKey,
                 const char* positiveKey) {
    const double x = std::fabs(degrees);
    const double wholeDegrees = std::floor(x);
    const double m = (x - wholeDegrees) * 60;
    const double minutes = std::floor(m);
    const double seconds = (m - minutes) * 60;
    const char* hemisphereKey = std::signbit(degrees) ? negativeKey : positiveKey;
    return Resources::text(QLatin1String(formatKey))
        .arg(Resources::text(QLatin1String(hemisphereKey)),
             QString::number(static_cast<long long>(wholeDegrees)),
             QString::number(static_cast<long long>(minutes)), twoDecimals(seconds));
}

// The locale's medium styles, which Qt lacks: its long date without the weekday and
// with the month abbreviated ("Dec 7, 2026"), and its time with seconds but without
// the time zone ("6:43:44 AM").
QString mediumDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("d{4}[,.]?\\s*")));
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return format.trimmed();
}

QString mediumTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    return format.trimmed();
}

} // namespace

QString GeoData::formattedLatitude() const {
    if (!location_ || location_->horizontalAccuracy < 0) {
        return Resources::text(QStringLiteral("LatitudeUnavailable"));
    }
    return toGeodesicLatitude(location_->latitude);
}

QString GeoData::formattedLongitude() const {
    if (!location_ || location_->horizontalAccuracy < 0) {
        return Resources::text(QStringLiteral("LongitudeUnavailable"));
    }
    return toGeodesicLongitude(location_->longitude);
}

QString GeoData::formattedAltitude() const {
    if (!location_ || location_->verticalAccuracy < 0) {
        return Resources::text(QStringLiteral("AltitudeUnavailable"));
    }
    return toFormattedAltitude(location_->altitude);
}

QString GeoData::latitudeString() const {
    return twoDecimals(location_ ? location_->latitude : 0);
}

QString GeoData::longitudeString() const {
    return twoDecimals(location_ ? location_->longitude : 0);
}

QString GeoData::altitudeString() const {
    return twoDecimals(location_ ? location_->altitude : 0);
}

QString GeoData::horizontalAccuracyString() const {
    return twoDecimals(location_ ? location_->horizontalAccuracy : 0);
}

QString GeoData::verticalAccuracyString() const {
    return twoDecimals(location_ ? location_->verticalAccuracy : 0);
}

QString GeoData::timestampString() const {
    if (!location_) {
        return {};
    }
    const QLocale locale;
    const QDateTime local = location_->timestamp.toLocalTime();
    return locale.toString(local.date(), mediumDateFormat(locale)) + QLatin1Char(' ') +
           locale.toString(local.time(), mediumTimeFormat(locale));
}

QString GeoData::toGeodesicLatitude(double degrees) {
    return geodesic(degrees, "LatitudeFormat", "South", "North");
}

QString GeoData::toGeodesicLongitude(double degrees) {
    return geodesic(degrees, "LongitudeFormat", "West", "East");
}

QString GeoData::toFormattedAltitude(double metres) {
    return Resources::text(QStringLiteral("AltitudeFormat"))
        .arg(twoDecimals(std::fabs(metres)),
             Resources::text(metres < 0 ? QStringLiteral("BelowSeaLevel")
                                        : QStringLiteral("AboveSeaLevel")));
}
