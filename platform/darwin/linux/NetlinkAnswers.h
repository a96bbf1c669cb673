#pragma once

#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/linux/NetlinkSource.h"

#include <cstddef>
#include <vector>

// The device calls the backend answers from rtnetlink: the routing socket's sysctl nodes
// (RoutingTable, InterfaceList) and getifaddrs.
namespace darwin {

class SysctlRequest;

// {CTL_NET, PF_ROUTE, 0, 0, NET_RT_DUMP, 0} and {CTL_NET, PF_ROUTE, 0, AF_LINK,
// NET_RT_IFLIST2, 0}.
bool isRoutingSocketName(const std::vector<int>& mib);
// Written straight into the caller's buffer. A size probe reports routingProbeSize of the
// answer's size; a buffer too small receives the whole messages that fit, *oldlenp their
// size, and ENOMEM; a failure leaves *oldlenp alone (the buffer may hold part of an
// answer that does not count).
int answerRoutingSocket(const SysctlRequest& request, const std::vector<int>& mib,
                        const NetlinkConnector& connect);
// Room for routes and addresses added between a size probe and the read that follows.
size_t routingProbeSize(size_t size);

// 0 and the list (null for a host without interfaces), or -1 with errno.
int answerGetifaddrs(ifaddrs** list, const NetlinkConnector& connect);

} // namespace darwin
