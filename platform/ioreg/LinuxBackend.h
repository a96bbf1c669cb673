#pragma once

#include "platform/ioreg/Backend.h"
#include "platform/ioreg/HostTree.h"
#include "platform/ioreg/ModemIdentity.h"
#include "platform/ioreg/WirelessLink.h"

#include <functional>

namespace ioreg {

// The registry of the running Linux host, read under a root directory: each service is
// made afresh from the host's files when asked for (docs/PLATFORM-LINUX.md, "Device
// registry"). The IMEI and the wireless link come from services outside the file tree,
// ModemManager and nl80211, which tests replace.
class LinuxBackend : public Backend {
public:
    using LinkQuery = std::function<std::optional<WirelessLink>(const QString& interfaceName)>;

    // ModemManager and nl80211 of the host.
    explicit LinuxBackend(const QString& root);
    LinuxBackend(const QString& root, ModemIdentity::Fetch imeiFetch, LinkQuery linkQuery);

    std::optional<Service> matchingService(const QString& className) override;
    std::optional<Value> deviceTreeProperty(const QString& key, bool recursive) override;

private:
    std::optional<Service> wirelessInterface();
    std::optional<Value> searchDeviceTree(const QString& key, bool recursive) const;

    HostTree host_;
    ModemIdentity modem_;
    LinkQuery linkQuery_;
};

} // namespace ioreg
