#include "platform/darwin/linux/RouteMapping.h"

#include "platform/darwin/Route.h"

#include <linux/neighbour.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <iterator>

namespace darwin {

namespace {

struct RouteFlagRow {
    uint8_t linuxValue;
    int32_t flags;
};

// Unicast, anycast and NAT routes add nothing to RTF_UP.
constexpr RouteFlagRow kRouteTypes[] = {
    {RTN_LOCAL, RTF_LOCAL},         // one of the host's own addresses
    {RTN_BROADCAST, RTF_BROADCAST}, //
    {RTN_MULTICAST, RTF_MULTICAST}, //
    {RTN_BLACKHOLE, RTF_BLACKHOLE}, // dropped silently
    {RTN_UNREACHABLE, RTF_REJECT},  // refused with an ICMP error
    {RTN_PROHIBIT, RTF_REJECT},     //
    {RTN_THROW, RTF_REJECT},        // the device has no policy tables to go on to
    {RTN_XRESOLVE, RTF_XRESOLVE},   // resolved by an external program
};

// Protocols not listed are routing daemons' (zebra, bird, babel, bgp, ospf, …): routes
// set from user space, RTF_STATIC like the ones route(8) adds on the device.
constexpr RouteFlagRow kProtocols[] = {
    {RTPROT_UNSPEC, 0},             //
    {RTPROT_REDIRECT, RTF_DYNAMIC}, // learnt from an ICMP redirect
    {RTPROT_KERNEL, 0},             // made by the kernel for an address
    {RTPROT_BOOT, RTF_STATIC},      // ip route add without a protocol
    {RTPROT_STATIC, RTF_STATIC},    // set by the administrator
    {RTPROT_RA, 0},                 // learnt by the kernel from a router advertisement
    {RTPROT_DHCP, RTF_STATIC},      // the DHCP client adds its routes from user space
};

int32_t flagsIn(const auto& table, uint8_t value, int32_t otherwise) {
    const auto row = std::ranges::find(table, value, &RouteFlagRow::linuxValue);
    return row != std::end(table) ? row->flags : otherwise;
}

} // namespace

int32_t routeTypeFlags(uint8_t type) {
    return flagsIn(kRouteTypes, type, 0);
}

int32_t routeProtocolFlags(uint8_t protocol) {
    return flagsIn(kProtocols, protocol, RTF_STATIC);
}

// IPv6 routes carry no scope (always universe): the protocol and the missing gateway
// say enough there.
bool isConnectedRoute(uint8_t family, uint8_t type, uint8_t protocol, uint8_t scope,
                      bool hasGateway, bool isHost) {
    return type == RTN_UNICAST && protocol == RTPROT_KERNEL && !hasGateway && !isHost &&
           (family == AF_INET6 || scope == RT_SCOPE_LINK);
}

// As `ip neigh` lists them: every state but NUD_NOARP (multicast and broadcast
// mappings that are computed, not resolved) and NUD_NONE (an entry just made).
bool listsNeighbour(uint16_t state) {
    return (state & 0xff & ~NUD_NOARP) != 0;
}

// The device marks ARP entries set by hand (arp -s) static, and an entry whose
// resolution failed rejects traffic until it expires.
int32_t neighbourFlags(uint16_t state) {
    int32_t flags = RTF_UP | RTF_HOST | RTF_LLINFO;
    if ((state & NUD_PERMANENT) != 0) {
        flags |= RTF_STATIC;
    }
    if ((state & NUD_FAILED) != 0) {
        flags |= RTF_REJECT;
    }
    return flags;
}

} // namespace darwin
