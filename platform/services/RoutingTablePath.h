#pragma once

#include "platform/services/NetworkReachability.h"

#include <QString>

#include <optional>

namespace services {

// Tells from the kernel's routing tables (/proc/net/route, /proc/net/ipv6_route under
// `root`) whether a path to the Internet exists, that is a default route, and whether
// the link it leaves by is a cellular modem (the interface's DEVTYPE is "wwan").
// Nothing when neither table can be read.
class RoutingTablePath {
public:
    static std::optional<NetworkPath> read(const QString& root);
    // The interface the IPv4 default route leaves by, if there is one.
    static std::optional<QString> ipv4DefaultInterface(const QString& root);

private:
    static std::optional<QString> ipv4DefaultInterface(const QString& root, bool* readable);
    static std::optional<QString> ipv6DefaultInterface(const QString& root, bool* readable);
    static bool isCellularInterface(const QString& root, const QString& interfaceName);
};

} // namespace services
