#pragma once

#include "platform/darwin/linux/NetlinkDump.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace darwin {

// A link's traffic counters as the kernel keeps them (struct rtnl_link_stats64, or the
// 32-bit rtnl_link_stats of older kernels); 0 where the kernel has no such counter.
struct LinkCounters {
    uint64_t rxPackets = 0;
    uint64_t txPackets = 0;
    uint64_t rxBytes = 0;
    uint64_t txBytes = 0;
    uint64_t rxErrors = 0;
    uint64_t txErrors = 0;
    uint64_t rxDropped = 0;
    uint64_t txDropped = 0;
    uint64_t multicast = 0; // received
    uint64_t collisions = 0;
    uint64_t rxNohandler = 0; // no protocol took them

    bool operator==(const LinkCounters&) const = default;
};

// One link of RTM_GETLINK, in Linux's terms.
struct NetlinkLink {
    int32_t index = 0;
    uint16_t hardwareType = 0; // ARPHRD_*
    uint32_t flags = 0;        // Linux IFF_*
    std::string name;
    std::string kind; // IFLA_INFO_KIND ("veth", "vlan", "bridge"), empty when none
    std::vector<uint8_t> address;
    uint32_t mtu = 0;
    uint32_t txQueueLength = 0;
    LinkCounters counters;
};

// One address of RTM_GETADDR (AF_INET or AF_INET6; the first 4 bytes of IPv4 ones).
struct NetlinkAddress {
    int32_t index = 0;
    uint8_t family = 0;
    uint8_t prefixLength = 0;
    uint32_t flags = 0; // IFA_F_*
    std::array<uint8_t, 16> local{};
    std::optional<std::array<uint8_t, 16>> peer; // the other end of a point-to-point link
    std::optional<std::array<uint8_t, 16>> broadcast;
};

// The host's links and their addresses over rtnetlink: links in ifindex order, the
// addresses in the kernel's order (IPv4, then IPv6).
class NetlinkInterfaces {
public:
    // Both dumps, read again while the kernel reports a change during them; null with
    // errno (EIO for a malformed message).
    static std::optional<NetlinkInterfaces> read(const NetlinkConnector& connect);
    // The link dump alone, into `links`, sorted by index.
    static NetlinkDump::Outcome readLinks(NetlinkSource& source, std::vector<NetlinkLink>& links);

    const std::vector<NetlinkLink>& links() const { return links_; }
    const std::vector<NetlinkAddress>& addresses() const { return addresses_; }

private:
    std::vector<NetlinkLink> links_;
    std::vector<NetlinkAddress> addresses_;
};

} // namespace darwin
