#include "platform/services/QtLocationManager.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QNmeaPositionInfoSource>
#include <QThread>

#include <cmath>

namespace services {

namespace {

// An attribute's value, or -1 when the source did not give it.
double attributeOr(const QGeoPositionInfo& info, QGeoPositionInfo::Attribute attribute) {
    if (!info.hasAttribute(attribute)) {
        return -1;
    }
    const double value = info.attribute(attribute);
    return std::isfinite(value) && value >= 0 ? value : -1;
}

QString descriptionOf(QGeoPositionInfoSource::Error error) {
    switch (error) {
    case QGeoPositionInfoSource::UnknownSourceError:
        return QStringLiteral("The positioning source failed");
    default:
        return QStringLiteral("Positioning error %1").arg(static_cast<int>(error));
    }
}

} // namespace

QtLocationManager::QtLocationManager(QGeoPositionInfoSource* source) : source_(source) {
    if (source_ == nullptr) {
        return;
    }
    // Signals come on the source's thread: keep it on the main thread whoever made it.
    if (QCoreApplication::instance() != nullptr &&
        source_->thread() != QCoreApplication::instance()->thread()) {
        source_->moveToThread(QCoreApplication::instance()->thread());
    }
    QObject::connect(source_.get(), &QGeoPositionInfoSource::positionUpdated, source_.get(),
                     [this](const QGeoPositionInfo& info) { deliver(info); });
    QObject::connect(source_.get(), &QGeoPositionInfoSource::errorOccurred, source_.get(),
                     [this](QGeoPositionInfoSource::Error error) { fail(error); });
}

QtLocationManager::~QtLocationManager() = default;

std::unique_ptr<QtLocationManager> QtLocationManager::withDefaultSource() {
    // GeoClue2's source only builds its D-Bus proxy here; its calls are asynchronous.
    auto manager =
        std::make_unique<QtLocationManager>(QGeoPositionInfoSource::createDefaultSource(nullptr));
    manager->askForService_ =
        manager->source_ != nullptr && manager->source_->sourceName() == QLatin1String("geoclue2");
    return manager;
}

// GeoClue2's source says nothing at all when the service is not on the system bus, so
// a scan would wait for nothing. One asynchronous ping to the service (which starts it
// where it is installed but not running) answers that at once.
void QtLocationManager::askForService() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            source_.get(), [this] { failForNoService(); }, Qt::QueuedConnection);
        return;
    }
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.GeoClue2"),
        QStringLiteral("/org/freedesktop/GeoClue2/Manager"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(ping, kServiceAnswerMs), source_.get());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, source_.get(), [this, watcher] {
        watcher->deleteLater();
        if (watcher->isError() && watcher->error().type() != QDBusError::NoReply) {
            failForNoService();
        }
    });
}

void QtLocationManager::failForNoService() {
    if (updating_ && delegate_ != nullptr) {
        delegate_->locationManagerDidFailWithError(
            this, LocationError{false, 0,
                                QStringLiteral("No location service (GeoClue) on this system")});
    }
}

std::unique_ptr<QtLocationManager> QtLocationManager::withNmeaLog(const QString& path) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        return std::make_unique<QtLocationManager>(nullptr);
    }
    auto* source = new QNmeaPositionInfoSource(QNmeaPositionInfoSource::SimulationMode);
    source->setUserEquivalentRangeError(kNmeaRangeErrorMetres);
    file->setParent(source);
    source->setDevice(file.release());
    return std::make_unique<QtLocationManager>(source);
}

void QtLocationManager::startUpdatingLocation() {
    if (source_ != nullptr && !updating_) {
        updating_ = true;
        source_->startUpdates();
        if (askForService_) {
            askForService();
        }
    }
}

void QtLocationManager::stopUpdatingLocation() {
    if (source_ != nullptr && updating_) {
        updating_ = false;
        source_->stopUpdates();
    }
}

LocationReading QtLocationManager::readingOf(const QGeoPositionInfo& info) {
    LocationReading reading;
    const QGeoCoordinate coordinate = info.coordinate();
    reading.latitude = coordinate.latitude();
    reading.longitude = coordinate.longitude();
    reading.horizontalAccuracy = attributeOr(info, QGeoPositionInfo::HorizontalAccuracy);
    if (std::isfinite(coordinate.altitude())) {
        reading.altitude = coordinate.altitude();
        reading.verticalAccuracy = attributeOr(info, QGeoPositionInfo::VerticalAccuracy);
    }
    reading.timestamp = info.timestamp().toUTC();
    return reading;
}

LocationError QtLocationManager::errorOf(QGeoPositionInfoSource::Error error) {
    switch (error) {
    case QGeoPositionInfoSource::AccessError:
        return LocationError{true, 1, {}};
    case QGeoPositionInfoSource::UpdateTimeoutError:
    case QGeoPositionInfoSource::ClosedError:
        return LocationError{true, 0, {}};
    default:
        return LocationError{false, static_cast<int>(error), descriptionOf(error)};
    }
}

void QtLocationManager::deliver(const QGeoPositionInfo& info) {
    if (!info.isValid()) {
        return;
    }
    const LocationReading reading = readingOf(info);
    const std::optional<LocationReading> previous = previous_;
    previous_ = reading;
    if (delegate_ != nullptr) {
        delegate_->locationManagerDidUpdateToLocationFromLocation(this, reading, previous);
    }
}

void QtLocationManager::fail(QGeoPositionInfoSource::Error error) {
    if (error == QGeoPositionInfoSource::NoError || delegate_ == nullptr) {
        return;
    }
    delegate_->locationManagerDidFailWithError(this, errorOf(error));
}

} // namespace services
