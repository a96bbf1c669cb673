#include "app/MapDump.h"

#include "location/LocationController.h"
#include "location/MapAnnotation.h"
#include "location/MapViewController.h"
#include "platform/services/ReverseGeocoder.h"
#include "platform/ui/TableViewTextRenderer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

namespace {

// How long the dump waits for the location service's first reading, and then for the
// place it names.
constexpr int kMapReadingMs = 10000;
constexpr int kMapPlaceMs = 2000;

// Runs the event loop until `done` or `boundMs` has passed.
void waitUntil(const std::function<bool()>& done, int boundMs) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < boundMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

} // namespace

bool MapDump::dump(bool json, QString* text, QString* error) {
    LocationController* location = LocationController::sharedInstance();
    location->start();
    waitUntil([location] { return location->hasNewData() || !location->isScanning(); },
              kMapReadingMs);
    const std::optional<services::LocationReading>& reading = location->geoData()->location();
    if (!location->hasNewData() || !reading) {
        *error = QStringLiteral("no location reading: %1")
                     .arg(location->errorString().isEmpty()
                              ? QStringLiteral("none came within %1 s").arg(kMapReadingMs / 1000)
                              : location->errorString());
        return false;
    }
    MapViewController map(reading->latitude, reading->longitude);
    map.view();
    const MapAnnotation* pin = map.mapPin();
    waitUntil(
        [pin] {
            return pin == nullptr || pin->reverseGeocoder() == nullptr ||
                   !pin->reverseGeocoder()->isQuerying();
        },
        kMapPlaceMs);
    const QStringList row{pin != nullptr ? pin->title() : QString(),
                          pin != nullptr ? pin->subtitle() : QString()};
    if (!json) {
        *text = QStringLiteral("== ") + map.title() + QLatin1Char('\n') +
                ui::TableViewTextRenderer::headerLine({}) + QLatin1Char('\n') +
                ui::TableViewTextRenderer::rowLine(row) + QLatin1Char('\n');
        return true;
    }
    QJsonObject section{{QStringLiteral("title"), QString()},
                        {QStringLiteral("rows"), QJsonArray{QJsonArray::fromStringList(row)}}};
    const QJsonObject object{{QStringLiteral("screen"), QStringLiteral("map")},
                             {QStringLiteral("title"), map.title()},
                             {QStringLiteral("sections"), QJsonArray{section}}};
    *text =
        QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
    return true;
}
