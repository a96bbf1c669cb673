#include "platform/darwin/linux/InterfaceMapping.h"

#include "platform/darwin/Route.h"

#include <net/if.h>
#include <net/if_arp.h>

#include <algorithm>
#include <iterator>

namespace darwin {

namespace {

constexpr uint16_t kArphrdIp6Gre = 823; // ARPHRD_IP6GRE, not in every C library's header

struct HardwareTypeRow {
    uint16_t hardwareType;
    uint8_t interfaceType;
};

// Anything not listed (ARPHRD_NONE of tun, WireGuard and raw-IP modems, ARPHRD_RAWIP,
// InfiniBand, CAN, …) is IFT_OTHER. The reasons are in docs/PLATFORM-LINUX.md.
constexpr HardwareTypeRow kHardwareTypes[] = {
    {ARPHRD_ETHER, IFT_ETHER},       // Ethernet, Wi-Fi stations, bridges, veth, tap, bonds
    {ARPHRD_LOOPBACK, IFT_LOOP},     //
    {ARPHRD_PPP, IFT_PPP},           //
    {ARPHRD_SLIP, IFT_SLIP},         //
    {ARPHRD_CSLIP, IFT_SLIP},        // compressed SLIP
    {ARPHRD_SLIP6, IFT_SLIP},        //
    {ARPHRD_CSLIP6, IFT_SLIP},       //
    {ARPHRD_SIT, IFT_STF},           // IPv6 in IPv4 (6to4, 6in4): the device's stf
    {ARPHRD_TUNNEL, IFT_GIF},        // IPv4 in IPv4 (ipip): the device's generic tunnel
    {ARPHRD_TUNNEL6, IFT_GIF},       // ip6tnl
    {ARPHRD_IPGRE, IFT_GIF},         // gre
    {kArphrdIp6Gre, IFT_GIF},        // ip6gre
    {ARPHRD_IEEE1394, IFT_IEEE1394}, // FireWire
};

struct KindRow {
    std::string_view kind;
    uint8_t interfaceType;
};

// Kinds that decide over the hardware type: a VLAN frames like Ethernet.
constexpr KindRow kKinds[] = {
    {"vlan", IFT_L2VLAN},
};

struct FlagRow {
    uint32_t linuxFlag;
    uint32_t darwinFlag;
};

// Linux's IFF_MASTER, IFF_SLAVE, IFF_PORTSEL, IFF_AUTOMEDIA, IFF_DYNAMIC and the higher
// bits (IFF_LOWER_UP, IFF_DORMANT, IFF_ECHO) have no counterpart on the device.
constexpr FlagRow kFlags[] = {
    {IFF_UP, IFF_UP_DARWIN},
    {IFF_BROADCAST, IFF_BROADCAST_DARWIN},
    {IFF_DEBUG, IFF_DEBUG_DARWIN},
    {IFF_LOOPBACK, IFF_LOOPBACK_DARWIN},
    {IFF_POINTOPOINT, IFF_POINTOPOINT_DARWIN},
    {IFF_NOTRAILERS, IFF_NOTRAILERS_DARWIN},
    {IFF_RUNNING, IFF_RUNNING_DARWIN},
    {IFF_NOARP, IFF_NOARP_DARWIN},
    {IFF_PROMISC, IFF_PROMISC_DARWIN},
    {IFF_ALLMULTI, IFF_ALLMULTI_DARWIN},
    {IFF_MULTICAST, IFF_MULTICAST_DARWIN}, // 0x1000 on Linux, 0x8000 on the device
};

bool framesLikeEthernet(uint8_t interfaceType) {
    return interfaceType == IFT_ETHER || interfaceType == IFT_L2VLAN;
}

} // namespace

uint8_t interfaceTypeOf(uint16_t hardwareType, std::string_view kind) {
    const auto byKind = std::ranges::find(kKinds, kind, &KindRow::kind);
    if (byKind != std::end(kKinds)) {
        return byKind->interfaceType;
    }
    const auto byHardware =
        std::ranges::find(kHardwareTypes, hardwareType, &HardwareTypeRow::hardwareType);
    return byHardware != std::end(kHardwareTypes) ? byHardware->interfaceType : IFT_OTHER;
}

// The device's Ethernet drivers mark their interfaces simplex: they do not receive
// their own transmissions.
uint32_t interfaceFlagsOf(uint32_t linuxFlags, uint8_t interfaceType) {
    uint32_t flags = framesLikeEthernet(interfaceType) ? IFF_SIMPLEX_DARWIN : 0;
    for (const FlagRow& row : kFlags) {
        if ((linuxFlags & row.linuxFlag) != 0) {
            flags |= row.darwinFlag;
        }
    }
    return flags;
}

// Tunnels' "hardware addresses" are their IP end points and the loopback's is zeros: the
// device shows no link-level address for them.
bool showsLinkAddress(uint8_t interfaceType) {
    return framesLikeEthernet(interfaceType) || interfaceType == IFT_IEEE1394;
}

} // namespace darwin
