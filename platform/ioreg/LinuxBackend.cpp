#include "platform/ioreg/LinuxBackend.h"

#include "platform/ioreg/Backlight.h"
#include "platform/ioreg/FlashStorage.h"
#include "platform/ioreg/ModemManagerQuery.h"
#include "platform/ioreg/Nl80211Query.h"
#include "platform/ioreg/PlatformExpert.h"
#include "platform/ioreg/PowerSupply.h"
#include "platform/services/PlatformProfile.h"

#include <QDirIterator>

namespace ioreg {

namespace {

const QString kWirelessClass = QStringLiteral("IO80211Interface");
const QString kDeviceTree = QStringLiteral("proc/device-tree");
// A device tree has a few thousand entries; a search never walks more.
constexpr int kMaxDeviceTreeEntries = 50'000;

} // namespace

LinuxBackend::LinuxBackend(const QString& root)
    : LinuxBackend(root, &ModemManagerQuery::fetch, &Nl80211Query::interfaceLink) {}

LinuxBackend::LinuxBackend(const QString& root, ModemIdentity::Fetch imeiFetch, LinkQuery linkQuery)
    : host_(root), modem_(std::move(imeiFetch)), linkQuery_(std::move(linkQuery)) {}

std::optional<Service> LinuxBackend::matchingService(const QString& className) {
    if (className == QLatin1String(PlatformExpert::kClassName)) {
        return PlatformExpert::read(host_);
    }
    if (className == QLatin1String(services::PlatformProfile::kLinuxBatteryServiceClass)) {
        return PowerSupply::battery(host_, className);
    }
    if (className == QLatin1String(FlashStorage::kClassName)) {
        return FlashStorage::read(host_);
    }
    if (className == QLatin1String(Backlight::kClassName)) {
        const auto backlight = Backlight::read(host_);
        if (!backlight) {
            return std::nullopt;
        }
        return Service{className,
                       {{QStringLiteral("IODisplayParameters"), backlight->displayParameters()}}};
    }
    if (className == kWirelessClass) {
        return wirelessInterface();
    }
    return std::nullopt;
}

std::optional<Value> LinuxBackend::deviceTreeProperty(const QString& key, bool recursive) {
    if (recursive && key == QLatin1String("device-imei")) {
        if (const auto imei = modem_.imei()) {
            return Value::data(imei->toLatin1());
        }
        return std::nullopt;
    }
    if (recursive && key == QLatin1String("backlight-level")) {
        if (const auto backlight = Backlight::read(host_)) {
            return backlight->levelData();
        }
    }
    return searchDeviceTree(key, recursive);
}

std::optional<Service> LinuxBackend::wirelessInterface() {
    const QString name = services::PlatformProfile::wirelessInterfaceName(host_.root());
    if (name.isEmpty() || !linkQuery_) {
        return std::nullopt;
    }
    const auto link = linkQuery_(name);
    if (!link) {
        return std::nullopt;
    }
    Service service{kWirelessClass, {}};
    if (link->ssid) {
        service.setProperty(QStringLiteral("IO80211SSID"),
                            Value::string(QString::fromUtf8(*link->ssid)));
    }
    if (link->frequencyMHz) {
        if (const auto channel = WirelessLink::channelOf(*link->frequencyMHz)) {
            service.setProperty(QStringLiteral("IO80211Channel"), Value::number(*channel));
        }
        if (const auto band = WirelessLink::bandOf(*link->frequencyMHz)) {
            service.setProperty(QStringLiteral("IO80211Band"), Value::string(*band));
        }
    }
    return service;
}

// The machine's own device tree: a property file of that name at its root, or in any
// node below it when recursive (depth first, the first found).
std::optional<Value> LinuxBackend::searchDeviceTree(const QString& key, bool recursive) const {
    if (const auto bytes = host_.bytes(kDeviceTree + QLatin1Char('/') + key)) {
        return Value::data(*bytes);
    }
    if (!recursive || !host_.exists(kDeviceTree)) {
        return std::nullopt;
    }
    QDirIterator nodes(host_.path(kDeviceTree), QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    for (int seen = 0; nodes.hasNext() && seen < kMaxDeviceTreeEntries; ++seen) {
        nodes.next();
        if (nodes.fileName() == key) {
            if (const auto bytes =
                    host_.bytes(kDeviceTree + QLatin1Char('/') +
                                QDir(host_.path(kDeviceTree)).relativeFilePath(nodes.filePath()))) {
                return Value::data(*bytes);
            }
        }
    }
    return std::nullopt;
}

} // namespace ioreg
