#include "platform/darwin/linux/RoutingTable.h"

#include "platform/darwin/Route.h"
#include "platform/darwin/linux/InetAddress.h"
#include "platform/darwin/linux/InterfaceMapping.h"
#include "platform/darwin/linux/MessageSink.h"
#include "platform/darwin/linux/NetlinkInterfaces.h"
#include "platform/darwin/linux/RouteMapping.h"
#include "platform/darwin/linux/RtnetlinkDump.h"

#include <linux/neighbour.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace darwin {

// Route.h names the device's RTA_DST and RTA_GATEWAY (address bits) inside namespace
// darwin; rtnetlink's attribute types of those names are written ::RTA_DST and
// ::RTA_GATEWAY here.
namespace {

using AttributeBytes = std::span<const unsigned char>;

constexpr size_t kLongestLinkAddress = 32; // the kernel's MAX_ADDR_LEN

// What the messages need to know of the links: their device types, and the loopback
// link, which the device's kernel gives routes that have no interface of their own.
class RouteLinks {
public:
    explicit RouteLinks(const std::vector<NetlinkLink>& links) {
        for (const NetlinkLink& link : links) {
            types_.emplace_back(link.index, interfaceTypeOf(link.hardwareType, link.kind));
            if (types_.back().second == IFT_LOOP && loopback_ == 0) {
                loopback_ = link.index;
            }
        }
    }
    // Sorted by index, as readLinks leaves them.
    uint8_t typeOf(int32_t index) const {
        const auto found = std::ranges::lower_bound(types_, index, {}, &Entry::first);
        return found != types_.end() && found->first == index ? found->second : IFT_OTHER;
    }
    int32_t interfaceOf(int32_t index) const { return index != 0 ? index : loopback_; }

private:
    using Entry = std::pair<int32_t, uint8_t>;
    std::vector<Entry> types_;
    int32_t loopback_ = 0;
};

// Where a route's packets go next: an IP gateway, or the link itself (family 0), with
// the link-level address of a neighbour entry.
struct NextHop {
    int32_t index = 0;
    bool dead = false;
    uint8_t gatewayFamily = 0;
    std::array<uint8_t, 16> gateway{};
    AttributeBytes linkAddress;
};

// One message to write.
struct RouteEntry {
    uint8_t family = 0;
    std::array<uint8_t, 16> destination{};
    uint8_t prefixLength = 0;
    int32_t flags = 0;
};

size_t inetAddressSize(uint8_t family) {
    return family == AF_INET ? sockaddr_in::Layout::kSize : sockaddr_in6::Layout::kSize;
}

// A sockaddr_dl with no name: the link's index and type, and a link-level address or
// none ("link#N").
size_t linkGatewaySize(size_t addressLength) {
    return (std::max(sockaddr_dl::kDataOffset + addressLength, sockaddr_dl::kMinimumSize) + 3) &
           ~size_t{3};
}

unsigned char* writeInetAddress(unsigned char* at, uint8_t family,
                                const std::array<uint8_t, 16>& bytes, int32_t index) {
    if (family == AF_INET) {
        SockaddrIn address;
        address.addr = firstFour(bytes);
        sockaddr_in::Layout::encode(address, at);
        return at + sockaddr_in::Layout::kSize;
    }
    SockaddrIn6 address;
    address.addr = bytes;
    address.scopeId = isLinkLocalIn6(bytes.data()) ? static_cast<uint32_t>(index) : 0;
    sockaddr_in6::Layout::encode(address, at);
    return at + sockaddr_in6::Layout::kSize;
}

unsigned char* writeLinkGateway(unsigned char* at, int32_t index, uint8_t type,
                                AttributeBytes linkAddress) {
    SockaddrDl head;
    head.len = static_cast<uint8_t>(linkGatewaySize(linkAddress.size()));
    head.index = static_cast<uint16_t>(index);
    head.type = type;
    head.alen = static_cast<uint8_t>(linkAddress.size());
    sockaddr_dl::Layout::encode(head, at);
    std::copy(linkAddress.begin(), linkAddress.end(), at + sockaddr_dl::kDataOffset);
    return at + head.len;
}

// rt_msghdr, destination, gateway, and the netmask of a network route. rtm_use stays 0:
// Linux counts no uses of a route.
void appendRouteMessage(MessageSink& sink, const RouteEntry& entry, const NextHop& hop,
                        const RouteLinks& links) {
    const bool host = (entry.flags & RTF_HOST) != 0;
    const int32_t index = links.interfaceOf(hop.index);
    const size_t gatewaySize = hop.gatewayFamily != 0 ? inetAddressSize(hop.gatewayFamily)
                                                      : linkGatewaySize(hop.linkAddress.size());
    RtMsghdr header;
    header.msglen = static_cast<uint16_t>(
        rt_msghdr::Layout::kSize + inetAddressSize(entry.family) * (host ? 1 : 2) + gatewaySize);
    header.index = static_cast<uint16_t>(index);
    header.flags = entry.flags;
    header.addrs = RTA_DST | RTA_GATEWAY | (host ? 0 : RTA_NETMASK);
    unsigned char* at = sink.claim(header.msglen);
    if (at == nullptr) {
        return;
    }
    rt_msghdr::Layout::encode(header, at);
    at = writeInetAddress(at + rt_msghdr::Layout::kSize, entry.family, entry.destination, index);
    at = hop.gatewayFamily != 0 ? writeInetAddress(at, hop.gatewayFamily, hop.gateway, index)
                                : writeLinkGateway(at, index, links.typeOf(index), hop.linkAddress);
    if (!host) {
        writeInetAddress(at, entry.family, prefixMask(entry.prefixLength), 0);
    }
}

bool copyAddressOfWidth(AttributeBytes bytes, size_t width, std::array<uint8_t, 16>& into) {
    if (bytes.size() != width) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), into.begin());
    return true;
}

size_t familyWidth(uint8_t family) {
    return family == AF_INET ? 4 : 16;
}

// RTA_GATEWAY (of the route's family) or RTA_VIA (an IPv4 route through an IPv6
// gateway); a gateway of another family (MPLS) counts as none. False when malformed.
bool readGateway(const NetlinkAttributes& attributes, uint8_t family, NextHop& hop) {
    if (attributes.has(::RTA_GATEWAY)) {
        hop.gatewayFamily = family;
        return copyAddressOfWidth(attributes[::RTA_GATEWAY], familyWidth(family), hop.gateway);
    }
    const AttributeBytes via = attributes[RTA_VIA];
    if (!attributes.has(RTA_VIA)) {
        return true;
    }
    uint16_t viaFamily = 0;
    if (via.size() < sizeof viaFamily) {
        return false;
    }
    std::memcpy(&viaFamily, via.data(), sizeof viaFamily);
    if (viaFamily != AF_INET && viaFamily != AF_INET6) {
        return true;
    }
    hop.gatewayFamily = static_cast<uint8_t>(viaFamily);
    return copyAddressOfWidth(via.subspan(sizeof viaFamily), familyWidth(hop.gatewayFamily),
                              hop.gateway);
}

// Every usable route is up; a next hop the kernel found dead is not.
int32_t routeFlagsOf(const rtmsg& header, const NextHop& hop) {
    const bool hasGateway = hop.gatewayFamily != 0;
    const bool host = header.rtm_dst_len == familyWidth(header.rtm_family) * 8;
    const bool connected = isConnectedRoute(header.rtm_family, header.rtm_type, header.rtm_protocol,
                                            header.rtm_scope, hasGateway, host);
    return (hop.dead ? 0 : RTF_UP) | (hasGateway ? RTF_GATEWAY : 0) | (host ? RTF_HOST : 0) |
           (connected ? RTF_CLONING : 0) | routeTypeFlags(header.rtm_type) |
           routeProtocolFlags(header.rtm_protocol);
}

// One message per next hop of RTA_MULTIPATH (struct rtnexthop, then its attributes).
bool appendMultipath(MessageSink& sink, const rtmsg& header, RouteEntry entry, AttributeBytes hops,
                     const RouteLinks& links) {
    while (!hops.empty()) {
        rtnexthop next{};
        if (hops.size() < sizeof next) {
            return false;
        }
        std::memcpy(&next, hops.data(), sizeof next);
        if (next.rtnh_len < sizeof next || next.rtnh_len > hops.size()) {
            return false;
        }
        NetlinkAttributes attributes;
        NextHop hop;
        hop.index = next.rtnh_ifindex;
        hop.dead = (next.rtnh_flags & RTNH_F_DEAD) != 0;
        if (!attributes.parse(hops.subspan(sizeof next, next.rtnh_len - sizeof next)) ||
            !readGateway(attributes, header.rtm_family, hop)) {
            return false;
        }
        entry.flags = routeFlagsOf(header, hop);
        appendRouteMessage(sink, entry, hop, links);
        hops = hops.subspan(std::min<size_t>(RTNH_ALIGN(next.rtnh_len), hops.size()));
    }
    return true;
}

// Routes of the main and local tables only: the others belong to policy rules the
// device does not have.
bool appendRoute(MessageSink& sink, const NetlinkMessage& message, const RouteLinks& links) {
    rtmsg header{};
    NetlinkAttributes attributes;
    if (message.type != RTM_NEWROUTE) {
        return true;
    }
    if (!message.read(header, attributes)) {
        return false;
    }
    const uint32_t table = attributes.integer<uint32_t>(RTA_TABLE).value_or(header.rtm_table);
    if ((header.rtm_family != AF_INET && header.rtm_family != AF_INET6) ||
        (table != RT_TABLE_MAIN && table != RT_TABLE_LOCAL)) {
        return true;
    }
    const size_t width = familyWidth(header.rtm_family);
    RouteEntry entry;
    entry.family = header.rtm_family;
    entry.prefixLength = header.rtm_dst_len;
    if (header.rtm_dst_len > width * 8 ||
        (attributes.has(::RTA_DST) &&
         !copyAddressOfWidth(attributes[::RTA_DST], width, entry.destination))) {
        return false;
    }
    if (attributes.has(RTA_MULTIPATH)) {
        return appendMultipath(sink, header, entry, attributes[RTA_MULTIPATH], links);
    }
    NextHop hop;
    hop.index = attributes.integer<int32_t>(RTA_OIF).value_or(0);
    hop.dead = (header.rtm_flags & RTNH_F_DEAD) != 0;
    if (!readGateway(attributes, header.rtm_family, hop)) {
        return false;
    }
    entry.flags = routeFlagsOf(header, hop);
    appendRouteMessage(sink, entry, hop, links);
    return true;
}

// An IPv4 neighbour as the device lists an ARP entry: a host route whose gateway is the
// link with the neighbour's link-level address (none while unresolved).
bool appendNeighbour(MessageSink& sink, const NetlinkMessage& message, const RouteLinks& links) {
    ndmsg header{};
    NetlinkAttributes attributes;
    if (message.type != RTM_NEWNEIGH) {
        return true;
    }
    if (!message.read(header, attributes)) {
        return false;
    }
    if (header.ndm_family != AF_INET || (header.ndm_flags & NTF_PROXY) != 0 ||
        !listsNeighbour(header.ndm_state)) {
        return true;
    }
    RouteEntry entry;
    entry.family = AF_INET;
    entry.prefixLength = 32;
    entry.flags = neighbourFlags(header.ndm_state);
    NextHop hop;
    hop.index = header.ndm_ifindex;
    hop.linkAddress = attributes[NDA_LLADDR];
    if (!copyAddressOfWidth(attributes[NDA_DST], 4, entry.destination) ||
        hop.linkAddress.size() > kLongestLinkAddress) {
        return false;
    }
    appendRouteMessage(sink, entry, hop, links);
    return true;
}

} // namespace

bool RoutingTable::messages(MessageSink& sink) const {
    return NetlinkDump::readConsistently(connect_, [&](NetlinkSource& source) {
        sink.restart();
        std::vector<NetlinkLink> linkList;
        NetlinkDump::Outcome outcome = NetlinkInterfaces::readLinks(source, linkList);
        const RouteLinks links(linkList);
        const auto route = [&](const NetlinkMessage& m) { return appendRoute(sink, m, links); };
        const auto neighbour = [&](const NetlinkMessage& m) {
            return appendNeighbour(sink, m, links);
        };
        if (outcome == NetlinkDump::Outcome::Complete) {
            outcome = runRtnetlinkDump(source, RTM_GETROUTE, AF_INET, route);
        }
        if (outcome == NetlinkDump::Outcome::Complete) {
            outcome = runRtnetlinkDump(source, RTM_GETNEIGH, AF_INET, neighbour);
        }
        if (outcome == NetlinkDump::Outcome::Complete) {
            outcome = runRtnetlinkDump(source, RTM_GETROUTE, AF_INET6, route);
        }
        return outcome;
    });
}

} // namespace darwin
