#include "platform/services/DeviceIdentity.h"

#include "platform/darwin/linux/EnvironmentFile.h"
#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/TextFields.h"

#include <array>
#include <utility>

namespace services {

namespace {

// The chassis names machine-info(5) and the device tree's "chassis-type" use.
constexpr std::array<std::pair<const char*, const char*>, 10> kChassisNames{{
    {"desktop", "Desktop"},
    {"laptop", "Laptop"},
    {"convertible", "Convertible"},
    {"server", "Server"},
    {"tablet", "Tablet"},
    {"handset", "Handset"},
    {"watch", "Watch"},
    {"embedded", "Embedded"},
    {"vm", "Virtual Machine"},
    {"container", "Container"},
}};

QString chassisNamed(std::string_view chassis) {
    for (const auto& [key, name] : kChassisNames) {
        if (chassis == key) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}

// SMBIOS enclosure types (DSP0134, table "System Enclosure or Chassis Types").
QString chassisOfType(int type) {
    switch (type) {
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 13:
    case 15:
    case 16:
    case 24:
    case 35:
    case 36:
        return QStringLiteral("Desktop");
    case 8:
    case 9:
    case 10:
    case 14:
        return QStringLiteral("Laptop");
    case 11:
        return QStringLiteral("Handset");
    case 30:
    case 31:
    case 32:
        return QStringLiteral("Tablet");
    case 17:
    case 23:
    case 25:
    case 28:
        return QStringLiteral("Server");
    case 33:
    case 34:
        return QStringLiteral("Embedded");
    default:
        return {};
    }
}

std::string_view firstLineOf(const std::string& text) {
    std::string_view rest = text;
    return darwin::nextLine(rest);
}

QString textOf(const std::optional<std::string>& value) {
    return value ? QString::fromStdString(*value) : QString();
}

} // namespace

namespace {
QString& sharedRoot() {
    static QString root = QStringLiteral("/");
    return root;
}
} // namespace

DeviceIdentity::DeviceIdentity(QString root) : root_(root.toStdString()) {}

QString DeviceIdentity::defaultRoot() {
    return sharedRoot();
}

void DeviceIdentity::setDefaultRoot(const QString& root) {
    sharedRoot() = root;
}

std::string DeviceIdentity::file(const char* path) const {
    return darwin::readHostFile(darwin::pathUnderRoot(root_, path)).value_or(std::string());
}

QString DeviceIdentity::name() const {
    const auto machineInfo = darwin::parseAssignments(file("/etc/machine-info"));
    if (const auto pretty = darwin::assignedValue(machineInfo, "PRETTY_HOSTNAME")) {
        return QString::fromStdString(*pretty);
    }
    return QString::fromStdString(std::string(firstLineOf(file("/proc/sys/kernel/hostname"))));
}

// The user's own setting first (hostnamectl chassis), then the firmware's tables, then
// the device tree, which describes boards without such tables: phones and embedded ones.
QString DeviceIdentity::localizedModel() const {
    const auto machineInfo = darwin::parseAssignments(file("/etc/machine-info"));
    QString model = chassisNamed(darwin::assignedValue(machineInfo, "CHASSIS").value_or(""));
    if (model.isEmpty()) {
        model = chassisOfDmi();
    }
    if (model.isEmpty()) {
        const std::string compatible = file("/proc/device-tree/compatible");
        const std::string chassis = file("/proc/device-tree/chassis-type");
        model = chassisNamed(chassis.c_str());
        if (model.isEmpty() && !compatible.empty()) {
            model = QStringLiteral("Handset");
        }
    }
    return model.isEmpty() ? QStringLiteral("Computer") : model;
}

QString DeviceIdentity::chassisOfDmi() const {
    const auto type = darwin::parseNumber<int>(firstLineOf(file("/sys/class/dmi/id/chassis_type")));
    return type ? chassisOfType(*type) : QString();
}

std::string DeviceIdentity::osRelease() const {
    return darwin::readOsRelease(root_).value_or(std::string());
}

QString DeviceIdentity::systemName() const {
    const auto release = darwin::parseAssignments(osRelease());
    const QString name = textOf(darwin::assignedValue(release, "NAME"));
    return name.isEmpty() ? QStringLiteral("Linux") : name;
}

QString DeviceIdentity::systemVersion() const {
    const auto release = darwin::parseAssignments(osRelease());
    if (const auto versionId = darwin::assignedValue(release, "VERSION_ID")) {
        return QString::fromStdString(*versionId);
    }
    return textOf(darwin::assignedValue(release, "VERSION"));
}

QString DeviceIdentity::prettyName() const {
    const auto release = darwin::parseAssignments(osRelease());
    if (const auto pretty = darwin::assignedValue(release, "PRETTY_NAME")) {
        return QString::fromStdString(*pretty);
    }
    return (systemName() + QLatin1Char(' ') + systemVersion()).trimmed();
}

} // namespace services
