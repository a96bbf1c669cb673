#include "platform/ioreg/PowerSupply.h"

namespace ioreg {

namespace {

const QString kPowerSupply = QStringLiteral("sys/class/power_supply/");

// Capacities in the device's units: mAh (charge, µAh in sysfs) or mWh (energy, µWh).
constexpr int64_t kMicroPerMilli = 1000;

std::optional<QString> attribute(const HostTree& host, const QString& dir, const char* name) {
    return host.text(dir + QLatin1String(name));
}

std::optional<int64_t> numberAttribute(const HostTree& host, const QString& dir, const char* name) {
    return host.number(dir + QLatin1String(name));
}

} // namespace

std::optional<Service> PowerSupply::battery(const HostTree& host, const QString& className) {
    for (const QString& name : host.entries(kPowerSupply)) {
        const QString dir = kPowerSupply + name + QLatin1Char('/');
        if (attribute(host, dir, "type") != QStringLiteral("Battery")) {
            continue;
        }
        Service service{className, {}};
        if (const auto serial = attribute(host, dir, "serial_number")) {
            service.setProperty(QStringLiteral("Serial"), Value::string(*serial));
        }
        if (const auto model = attribute(host, dir, "model_name")) {
            service.setProperty(QStringLiteral("Model"), Value::string(*model));
        }
        addCapacities(host, dir, service);
        if (const auto status = attribute(host, dir, "status")) {
            service.setProperty(QStringLiteral("IsCharging"),
                                Value::boolean(*status == QLatin1String("Charging")));
            service.setProperty(QStringLiteral("FullyCharged"),
                                Value::boolean(*status == QLatin1String("Full")));
        }
        const bool external = externalOnline(host);
        service.setProperty(QStringLiteral("ExternalConnected"), Value::boolean(external));
        // An adapter too weak to charge leaves the battery discharging.
        service.setProperty(QStringLiteral("ExternalChargeCapable"),
                            Value::boolean(external && attribute(host, dir, "status") !=
                                                           QStringLiteral("Discharging")));
        addLevels(host, dir, service);
        return service;
    }
    return std::nullopt;
}

void PowerSupply::addCapacities(const HostTree& host, const QString& dir, Service& service) {
    for (const auto& [now, full] :
         {std::pair{"energy_now", "energy_full"}, std::pair{"charge_now", "charge_full"}}) {
        const auto current = numberAttribute(host, dir, now);
        const auto maximum = numberAttribute(host, dir, full);
        if (current && maximum) {
            service.setProperty(QStringLiteral("CurrentCapacity"),
                                Value::number(*current / kMicroPerMilli));
            service.setProperty(QStringLiteral("MaxCapacity"),
                                Value::number(*maximum / kMicroPerMilli));
            return;
        }
    }
    if (const auto percent = numberAttribute(host, dir, "capacity")) {
        service.setProperty(QStringLiteral("CurrentCapacity"), Value::number(*percent));
        service.setProperty(QStringLiteral("MaxCapacity"), Value::number(100));
    }
}

// capacity_level where the driver reports it, else the ACPI alarm threshold.
void PowerSupply::addLevels(const HostTree& host, const QString& dir, Service& service) {
    bool warn = false;
    std::optional<bool> critical; // the alarm threshold tells no critical level
    if (const auto level = attribute(host, dir, "capacity_level")) {
        critical = *level == QLatin1String("Critical");
        warn = *critical || *level == QLatin1String("Low");
    } else if (const auto alarm = numberAttribute(host, dir, "alarm"); alarm && *alarm > 0) {
        auto now = numberAttribute(host, dir, "energy_now");
        if (!now) {
            now = numberAttribute(host, dir, "charge_now");
        }
        if (!now) {
            return;
        }
        warn = *now <= *alarm;
    } else {
        return;
    }
    service.setProperty(QStringLiteral("AtWarnLevel"), Value::boolean(warn));
    if (critical) {
        service.setProperty(QStringLiteral("AtCriticalLevel"), Value::boolean(*critical));
    }
}

bool PowerSupply::externalOnline(const HostTree& host) {
    for (const QString& name : host.entries(kPowerSupply)) {
        const QString dir = kPowerSupply + name + QLatin1Char('/');
        const auto type = attribute(host, dir, "type");
        if ((type == QStringLiteral("Mains") || type == QStringLiteral("USB")) &&
            numberAttribute(host, dir, "online") == 1) {
            return true;
        }
    }
    return false;
}

} // namespace ioreg
