#pragma once

#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/linux/NetlinkInterfaces.h"

#include <vector>

namespace darwin {

class MessageSink;

// The host's interfaces in the device's forms: the routing socket's interface list
// (NET_RT_IFLIST2) and the C library's getifaddrs list. Both go link by link in index
// order, each link followed by its addresses, IPv4 before IPv6.
class InterfaceList {
public:
    explicit InterfaceList(const NetlinkInterfaces& interfaces) : interfaces_(interfaces) {}

    // Per link an RTM_IFINFO2 message (if_msghdr2 and the link's sockaddr_dl), then one
    // RTM_NEWADDR message (ifa_msghdr and the address's netmask, own address and
    // broadcast or peer address) per address of the link.
    void messages(MessageSink& sink) const;
    // Per link an AF_LINK entry, then an AF_INET or AF_INET6 entry per address.
    std::vector<InterfaceAddress> entries() const;

private:
    const NetlinkInterfaces& interfaces_;
};

} // namespace darwin
