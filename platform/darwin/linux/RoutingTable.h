#pragma once

#include "platform/darwin/linux/NetlinkSource.h"

namespace darwin {

class MessageSink;

// The host's routing table as the device's routing socket dumps it (NET_RT_DUMP): one
// RTM_GET message (rt_msghdr, then the destination, gateway and — unless a host route —
// netmask) per route of the IPv4 main and local tables, then per listed IPv4 neighbour
// (an ARP entry, a host route with the neighbour's link-level address as gateway), then
// per route of the IPv6 main and local tables. A multipath route gives one message per
// next hop. All from rtnetlink, read again while the kernel reports a change during the
// dumps.
class RoutingTable {
public:
    explicit RoutingTable(NetlinkConnector connect) : connect_(std::move(connect)) {}

    // The messages into `sink`; false with errno: the source's, the kernel's, EIO for a
    // malformed message, EAGAIN when the tables kept changing. The sink may then hold
    // part of an answer that does not count.
    bool messages(MessageSink& sink) const;

private:
    NetlinkConnector connect_;
};

} // namespace darwin
