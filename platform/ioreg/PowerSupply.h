#pragma once

#include "platform/ioreg/HostTree.h"
#include "platform/ioreg/Service.h"

#include <optional>

namespace ioreg {

// The battery, from the kernel's power_supply class: the first supply of type
// "Battery" with the external supplies ("Mains", "USB") beside it, as the power-source
// service of the device's power-management unit publishes it.
class PowerSupply {
public:
    static std::optional<Service> battery(const HostTree& host, const QString& className);

private:
    static void addCapacities(const HostTree& host, const QString& dir, Service& service);
    static void addLevels(const HostTree& host, const QString& dir, Service& service);
    static bool externalOnline(const HostTree& host);
};

} // namespace ioreg
