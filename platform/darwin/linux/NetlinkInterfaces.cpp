#include "platform/darwin/linux/NetlinkInterfaces.h"

#include "platform/darwin/linux/RtnetlinkDump.h"

#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace darwin {

// rtnetlink's RTM_NEWADDR is written ::RTM_NEWADDR: Route.h has the device's message type
// of that name in namespace darwin.
namespace {

using Bytes = std::span<const unsigned char>;

// A string attribute up to its NUL.
std::string attributeText(Bytes bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), 0);
    return std::string(bytes.begin(), end);
}

// Counter `i` of a stats attribute of Width-byte counters; 0 past its end (older kernels
// send fewer counters).
template <class Width> uint64_t counterAt(Bytes stats, size_t i) {
    Width value = 0;
    if ((i + 1) * sizeof value <= stats.size()) {
        std::memcpy(&value, stats.data() + i * sizeof value, sizeof value);
    }
    return value;
}

// Positions in both struct rtnl_link_stats64 and struct rtnl_link_stats.
template <class Width> LinkCounters countersOf(Bytes stats) {
    LinkCounters counters;
    counters.rxPackets = counterAt<Width>(stats, 0);
    counters.txPackets = counterAt<Width>(stats, 1);
    counters.rxBytes = counterAt<Width>(stats, 2);
    counters.txBytes = counterAt<Width>(stats, 3);
    counters.rxErrors = counterAt<Width>(stats, 4);
    counters.txErrors = counterAt<Width>(stats, 5);
    counters.rxDropped = counterAt<Width>(stats, 6);
    counters.txDropped = counterAt<Width>(stats, 7);
    counters.multicast = counterAt<Width>(stats, 8);
    counters.collisions = counterAt<Width>(stats, 9);
    counters.rxNohandler = counterAt<Width>(stats, 23);
    return counters;
}

// The kind inside IFLA_LINKINFO; false when the nested attributes are malformed.
bool readKind(Bytes linkInfo, std::string& kind) {
    NetlinkAttributes nested;
    if (!nested.parse(linkInfo)) {
        return false;
    }
    kind = attributeText(nested[IFLA_INFO_KIND]);
    return true;
}

bool readLink(const NetlinkMessage& message, std::vector<NetlinkLink>& links) {
    ifinfomsg info{};
    NetlinkAttributes attributes;
    if (!message.read(info, attributes)) {
        return false;
    }
    NetlinkLink link;
    link.index = info.ifi_index;
    link.hardwareType = info.ifi_type;
    link.flags = info.ifi_flags;
    link.name = attributeText(attributes[IFLA_IFNAME]);
    const Bytes address = attributes[IFLA_ADDRESS];
    link.address.assign(address.begin(), address.end());
    link.mtu = attributes.integer<uint32_t>(IFLA_MTU).value_or(0);
    link.txQueueLength = attributes.integer<uint32_t>(IFLA_TXQLEN).value_or(0);
    if (attributes.has(IFLA_STATS64)) {
        link.counters = countersOf<uint64_t>(attributes[IFLA_STATS64]);
    } else {
        link.counters = countersOf<uint32_t>(attributes[IFLA_STATS]);
    }
    if (attributes.has(IFLA_LINKINFO) && !readKind(attributes[IFLA_LINKINFO], link.kind)) {
        return false;
    }
    links.push_back(std::move(link));
    return true;
}

// An address attribute of the family's width; false when it has another.
bool readAddressBytes(Bytes bytes, size_t width, std::array<uint8_t, 16>& into) {
    if (bytes.size() != width) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), into.begin());
    return true;
}

// On Linux IFA_LOCAL is the interface's own address and IFA_ADDRESS the prefix's: the
// same, except on a point-to-point link, where IFA_ADDRESS is the peer. IPv6 addresses
// carry IFA_LOCAL only then.
bool readAddress(const NetlinkMessage& message, std::vector<NetlinkAddress>& addresses) {
    ifaddrmsg header{};
    NetlinkAttributes attributes;
    if (!message.read(header, attributes)) {
        return false;
    }
    if (header.ifa_family != AF_INET && header.ifa_family != AF_INET6) {
        return true;
    }
    const size_t width = header.ifa_family == AF_INET ? 4 : 16;
    NetlinkAddress address;
    address.index = static_cast<int32_t>(header.ifa_index);
    address.family = header.ifa_family;
    address.prefixLength = header.ifa_prefixlen;
    address.flags = attributes.integer<uint32_t>(IFA_FLAGS).value_or(header.ifa_flags);
    const uint16_t own = attributes.has(IFA_LOCAL) ? IFA_LOCAL : IFA_ADDRESS;
    if (!readAddressBytes(attributes[own], width, address.local)) {
        return false;
    }
    std::array<uint8_t, 16> other{};
    if (own == IFA_LOCAL && attributes.has(IFA_ADDRESS)) {
        if (!readAddressBytes(attributes[IFA_ADDRESS], width, other)) {
            return false;
        }
        if (other != address.local) {
            address.peer = other;
        }
    }
    if (attributes.has(IFA_BROADCAST)) {
        if (!readAddressBytes(attributes[IFA_BROADCAST], width, other)) {
            return false;
        }
        address.broadcast = other;
    }
    addresses.push_back(address);
    return true;
}

NetlinkDump::Outcome readAddresses(NetlinkSource& source, std::vector<NetlinkAddress>& addresses) {
    addresses.clear();
    return runRtnetlinkDump(source, RTM_GETADDR, AF_UNSPEC, [&](const NetlinkMessage& message) {
        return message.type != ::RTM_NEWADDR || readAddress(message, addresses);
    });
}

} // namespace

NetlinkDump::Outcome NetlinkInterfaces::readLinks(NetlinkSource& source,
                                                  std::vector<NetlinkLink>& links) {
    links.clear();
    const NetlinkDump::Outcome outcome =
        runRtnetlinkDump(source, RTM_GETLINK, AF_UNSPEC, [&](const NetlinkMessage& message) {
            return message.type != RTM_NEWLINK || readLink(message, links);
        });
    std::ranges::sort(links, {}, &NetlinkLink::index);
    return outcome;
}

std::optional<NetlinkInterfaces> NetlinkInterfaces::read(const NetlinkConnector& connect) {
    NetlinkInterfaces interfaces;
    const bool read = NetlinkDump::readConsistently(connect, [&](NetlinkSource& source) {
        const NetlinkDump::Outcome links = readLinks(source, interfaces.links_);
        if (links != NetlinkDump::Outcome::Complete) {
            return links;
        }
        return readAddresses(source, interfaces.addresses_);
    });
    if (!read) {
        return std::nullopt;
    }
    return interfaces;
}

} // namespace darwin
