#pragma once

#include "platform/darwin/linux/InetSocket.h"
#include "platform/darwin/linux/NetlinkSource.h"

#include <cstdint>
#include <vector>

namespace darwin {

// One socket dump: every socket of a family (the host's AF_INET or AF_INET6) and
// protocol (IPPROTO_TCP, IPPROTO_UDP, IPPROTO_RAW) in every state but one: TCP sockets
// that are only bound (TCP_BOUND_INACTIVE, Linux 6.5) are not asked for, as listing
// them makes the kernel walk its whole table of bound ports. Family AF_UNSPEC, for TCP
// only, asks for both families in one dump (the kernel's older TCPDIAG_GETSOCK
// request): one walk of the connection table instead of one per family.
struct SockDiagQuery {
    uint8_t family = 0;
    uint8_t protocol = 0;
};

// Reads one socket dump (SOCK_DIAG_BY_FAMILY, or TCPDIAG_GETSOCK) from a NETLINK_SOCK_DIAG
// source and appends its sockets to `into`, in the kernel's order. The messages are
// walked and checked as NetlinkDump does; a socket message too short for inet_diag_msg or
// whose attributes do not parse fails the read too (EIO). On failure errno is set and
// `into` is as it was. A dump the kernel marks NLM_F_DUMP_INTR (the tables changed under
// it) is read to its end, dropped and asked for again, NetlinkDump::kAttempts times at
// most (then EIO).
bool readSockDiagDump(NetlinkSource& source, const SockDiagQuery& query,
                      std::vector<InetSocket>& into);

} // namespace darwin
