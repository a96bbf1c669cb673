#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

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

// Where the answers to SOCK_DIAG_BY_FAMILY dumps come from: the kernel's
// NETLINK_SOCK_DIAG socket (NetlinkSockDiag), or recorded dumps in tests. One source
// serves one reader at a time, one dump after another.
class SockDiagSource {
public:
    // Makes a source for one call; null with errno set when none can be had.
    using Factory = std::function<std::unique_ptr<SockDiagSource>()>;

    virtual ~SockDiagSource();

    // Asks for a dump; false with errno set when the request cannot be sent.
    virtual bool request(const SockDiagQuery& query) = 0;
    // The next datagram of the answer: whole netlink messages, valid until the next
    // call. Empty with errno set when nothing more can be read.
    virtual std::span<const unsigned char> receive() = 0;

protected:
    SockDiagSource() = default;
    SockDiagSource(const SockDiagSource&) = delete;
    SockDiagSource& operator=(const SockDiagSource&) = delete;
};

} // namespace darwin
