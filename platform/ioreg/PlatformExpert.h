#pragma once

#include "platform/ioreg/HostTree.h"
#include "platform/ioreg/Service.h"

#include <optional>

namespace ioreg {

// The platform expert ("IOPlatformExpertDevice"): "compatible" (board code, machine
// class, processor as NUL-terminated texts), "model-number" and
// "IOPlatformSerialNumber", from the device tree where the machine has one, else from
// the firmware's DMI tables.
class PlatformExpert {
public:
    static constexpr const char* kClassName = "IOPlatformExpertDevice";

    static std::optional<Service> read(const HostTree& host);

private:
    static std::optional<Service> fromDeviceTree(const HostTree& host, const QString& base);
    static std::optional<Service> fromDmi(const HostTree& host);
    static std::optional<QString> dmiField(const HostTree& host, const QString& name);
    static QString processorModel(const HostTree& host);
};

} // namespace ioreg
