#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

// The addresses of the device's wireless interface, captured when first asked for and
// again on refresh() (a laptop moves between networks), and the IPv4 addresses of any named
// interface, read afresh on every call. On Linux the device's "en0" is the first wireless
// interface, else the interface of the default route (PlatformProfile).
class UIDevice_Network {
public:
    // Reads the interface's addresses again.
    static void refresh();
    // "en0": the device's name of the interface these addresses belong to.
    static QString ifname();
    // Null when the interface had no such address at capture.
    static std::optional<QString> macaddr();
    static std::array<uint8_t, 6> ether();
    static std::optional<QString> ipaddr();
    static std::optional<QString> netmask();
    static std::optional<QString> netaddr();
    static uint8_t masklen();
    static std::optional<QString> broadcast();
    static std::optional<QString> ip6addr(); // "fe80::0211:22ff:fe33:4455/64"

    // Five texts: "address/prefix", broadcast, destination, netmask, network ("0.0.0.0"
    // for what the interface lacks); empty when it has no IPv4 address.
    static QStringList getAddressInfoOfInterfaceName(const QString& name);
};
