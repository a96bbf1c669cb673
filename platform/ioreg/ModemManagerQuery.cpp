#include "platform/ioreg/ModemManagerQuery.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace ioreg {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ModemManager1");
const QString kModemInterface = QStringLiteral("org.freedesktop.ModemManager1.Modem");

} // namespace

void ModemManagerQuery::fetch(ModemIdentity::Answer answer) {
    // A bus connection needs the application's event loop.
    if (QCoreApplication::instance() == nullptr) {
        answer(std::nullopt);
        return;
    }
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        answer(std::nullopt);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/org/freedesktop/ModemManager1"),
        QStringLiteral("org.freedesktop.DBus.ObjectManager"), QStringLiteral("GetManagedObjects"));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, watcher,
        [answer = std::move(answer)](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            const QDBusMessage reply = finished->reply();
            if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
                answer(std::nullopt);
                return;
            }
            answer(equipmentIdentifier(reply.arguments().constFirst().value<QDBusArgument>()));
        });
}

std::optional<QString> ModemManagerQuery::equipmentIdentifier(const QDBusArgument& managedObjects) {
    if (managedObjects.currentSignature() != QLatin1String("a{oa{sa{sv}}}")) {
        return std::nullopt;
    }
    std::optional<QString> identifier;
    managedObjects.beginMap();
    while (!managedObjects.atEnd()) {
        managedObjects.beginMapEntry();
        QDBusObjectPath path;
        managedObjects >> path;
        managedObjects.beginMap();
        while (!managedObjects.atEnd()) {
            managedObjects.beginMapEntry();
            QString interface;
            QVariantMap properties;
            managedObjects >> interface >> properties;
            managedObjects.endMapEntry();
            const QString value =
                properties.value(QStringLiteral("EquipmentIdentifier")).toString();
            if (!identifier && interface == kModemInterface && !value.isEmpty()) {
                identifier = value;
            }
        }
        managedObjects.endMap();
        managedObjects.endMapEntry();
    }
    managedObjects.endMap();
    return identifier;
}

} // namespace ioreg
