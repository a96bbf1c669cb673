#include "platform/darwin/linux/NetlinkSockDiag.h"

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

namespace darwin {

namespace {

constexpr size_t kInitialBuffer = 64 * 1024;
constexpr time_t kReadTimeoutSeconds = 5;

constexpr uint32_t kStates = ~(1u << 13); // all but TCP_BOUND_INACTIVE

// A SOCK_DIAG_BY_FAMILY request as the kernel reads it: header, inet_diag_req_v2 and,
// for raw sockets, the protocol once more as INET_DIAG_REQ_PROTOCOL (the attribute
// kernels since 5.17 prefer to the one-byte field).
struct DumpRequest {
    nlmsghdr header;
    inet_diag_req_v2 body;
    nlattr protocolAttribute;
    uint32_t protocol;
};
static_assert(sizeof(DumpRequest) ==
              NLMSG_LENGTH(sizeof(inet_diag_req_v2)) + NLA_HDRLEN + sizeof(uint32_t));

// TCPDIAG_GETSOCK: every TCP socket of both families.
struct BothFamiliesRequest {
    nlmsghdr header;
    inet_diag_req body;
};

nlmsghdr dumpHeader(size_t length, uint16_t type, uint32_t sequence) {
    return nlmsghdr{static_cast<uint32_t>(length), type, NLM_F_REQUEST | NLM_F_DUMP, sequence, 0};
}

DumpRequest dumpRequest(const SockDiagQuery& query, uint32_t sequence) {
    const size_t length = query.protocol == IPPROTO_RAW ? sizeof(DumpRequest)
                                                        : NLMSG_LENGTH(sizeof(inet_diag_req_v2));
    DumpRequest request{};
    request.header = dumpHeader(length, SOCK_DIAG_BY_FAMILY, sequence);
    request.body.sdiag_family = query.family;
    request.body.sdiag_protocol = query.protocol;
    request.body.idiag_states = kStates;
    request.protocolAttribute.nla_len = NLA_HDRLEN + sizeof(uint32_t);
    request.protocolAttribute.nla_type = INET_DIAG_REQ_PROTOCOL;
    request.protocol = query.protocol;
    return request;
}

BothFamiliesRequest bothFamiliesRequest(uint32_t sequence) {
    BothFamiliesRequest request{};
    request.header = dumpHeader(sizeof request, TCPDIAG_GETSOCK, sequence);
    request.body.idiag_family = AF_INET;
    request.body.idiag_states = kStates;
    return request;
}

} // namespace

// A read gives up after kReadTimeoutSeconds (EAGAIN) rather than wait for ever on an answer
// that never ends: a dump of 20 000 sockets takes some 20 ms.
std::unique_ptr<SockDiagSource> NetlinkSockDiag::open() {
    const int descriptor = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (descriptor < 0) {
        return nullptr;
    }
    const timeval timeout{kReadTimeoutSeconds, 0};
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    return std::unique_ptr<SockDiagSource>(new NetlinkSockDiag(descriptor));
}

NetlinkSockDiag::NetlinkSockDiag(int descriptor)
    : descriptor_(descriptor), buffer_(kInitialBuffer) {}

NetlinkSockDiag::~NetlinkSockDiag() {
    ::close(descriptor_);
}

bool NetlinkSockDiag::request(const SockDiagQuery& query) {
    if (query.family == AF_UNSPEC) {
        const BothFamiliesRequest request = bothFamiliesRequest(++sequence_);
        return send(&request, request.header.nlmsg_len);
    }
    const DumpRequest request = dumpRequest(query, ++sequence_);
    return send(&request, request.header.nlmsg_len);
}

bool NetlinkSockDiag::send(const void* request, size_t length) {
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    ssize_t sent;
    do {
        sent = ::sendto(descriptor_, request, length, 0, reinterpret_cast<const sockaddr*>(&kernel),
                        sizeof kernel);
    } while (sent < 0 && errno == EINTR);
    if (sent >= 0 && static_cast<size_t>(sent) != length) {
        errno = EIO;
        return false;
    }
    return sent >= 0;
}

std::span<const unsigned char> NetlinkSockDiag::receive() {
    ssize_t waiting;
    do {
        waiting = ::recv(descriptor_, nullptr, 0, MSG_PEEK | MSG_TRUNC);
    } while (waiting < 0 && errno == EINTR);
    if (waiting <= 0) {
        errno = waiting == 0 ? EIO : errno;
        return {};
    }
    if (static_cast<size_t>(waiting) > buffer_.size()) {
        buffer_.resize(static_cast<size_t>(waiting));
    }
    ssize_t got;
    do {
        got = ::recv(descriptor_, buffer_.data(), buffer_.size(), MSG_TRUNC);
    } while (got < 0 && errno == EINTR);
    if (got <= 0 || static_cast<size_t>(got) > buffer_.size()) {
        errno = got < 0 ? errno : EIO; // nothing, or a datagram cut short
        return {};
    }
    return {buffer_.data(), static_cast<size_t>(got)};
}

} // namespace darwin
