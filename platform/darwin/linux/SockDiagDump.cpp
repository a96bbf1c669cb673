#include "platform/darwin/linux/SockDiagDump.h"

#include "platform/darwin/linux/NetlinkDump.h"

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstring>

namespace darwin {

namespace {

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

// The source numbers the request.
nlmsghdr dumpHeader(size_t length, uint16_t type) {
    return nlmsghdr{static_cast<uint32_t>(length), type, NLM_F_REQUEST | NLM_F_DUMP, 0, 0};
}

DumpRequest dumpRequest(const SockDiagQuery& query) {
    const size_t length = query.protocol == IPPROTO_RAW ? sizeof(DumpRequest)
                                                        : NLMSG_LENGTH(sizeof(inet_diag_req_v2));
    DumpRequest request{};
    request.header = dumpHeader(length, SOCK_DIAG_BY_FAMILY);
    request.body.sdiag_family = query.family;
    request.body.sdiag_protocol = query.protocol;
    request.body.idiag_states = kStates;
    request.protocolAttribute.nla_len = NLA_HDRLEN + sizeof(uint32_t);
    request.protocolAttribute.nla_type = INET_DIAG_REQ_PROTOCOL;
    request.protocol = query.protocol;
    return request;
}

BothFamiliesRequest bothFamiliesRequest() {
    BothFamiliesRequest request{};
    request.header = dumpHeader(sizeof request, TCPDIAG_GETSOCK);
    request.body.idiag_family = AF_INET;
    request.body.idiag_states = kStates;
    return request;
}

// The message of a request, as many bytes as its header says.
template <class Request> std::span<const unsigned char> messageOf(const Request& request) {
    return {reinterpret_cast<const unsigned char*>(&request), request.header.nlmsg_len};
}

// A raw socket's local port is its protocol; raw sockets have no ports on the device.
void takeRawProtocol(InetSocket& socket) {
    socket.protocol = static_cast<uint8_t>(socket.localPort);
    socket.localPort = 0;
    socket.foreignPort = 0;
}

// One socket message (inet_diag_msg and its attributes, of which INET_DIAG_SKV6ONLY is
// read) into `into`; false when it does not parse.
bool readSocket(const NetlinkMessage& message, NetlinkAttributes& attributes,
                const SockDiagQuery& query, std::vector<InetSocket>& into) {
    inet_diag_msg diag{};
    if (!message.read(diag, attributes)) {
        return false;
    }
    InetSocket socket;
    std::memcpy(socket.localAddress.data(), diag.id.idiag_src, 16);
    std::memcpy(socket.foreignAddress.data(), diag.id.idiag_dst, 16);
    socket.localPort = ntohs(diag.id.idiag_sport);
    socket.foreignPort = ntohs(diag.id.idiag_dport);
    socket.receiveQueue = diag.idiag_rqueue;
    socket.sendQueue = diag.idiag_wqueue;
    socket.uid = diag.idiag_uid;
    socket.family = diag.idiag_family;
    socket.state = diag.idiag_state;
    const NetlinkAttributes::Bytes v6only = attributes[INET_DIAG_SKV6ONLY];
    if (!v6only.empty()) {
        socket.v6only = v6only[0] != 0 ? InetSocket::V6Only::Yes : InetSocket::V6Only::No;
    }
    if (query.protocol == IPPROTO_RAW) {
        takeRawProtocol(socket);
    }
    into.push_back(socket);
    return true;
}

} // namespace

bool readSockDiagDump(NetlinkSource& source, const SockDiagQuery& query,
                      std::vector<InetSocket>& into) {
    const DumpRequest single = dumpRequest(query);
    const BothFamiliesRequest both = bothFamiliesRequest();
    const std::span<const unsigned char> request =
        query.family == AF_UNSPEC ? messageOf(both) : messageOf(single);
    const size_t start = into.size();
    NetlinkAttributes attributes; // one for every message: a parse resets it cheaply
    const NetlinkDump::Visitor visit = [&](const NetlinkMessage& message) {
        const bool isSocket =
            message.type == SOCK_DIAG_BY_FAMILY || message.type == TCPDIAG_GETSOCK;
        return !isSocket || readSocket(message, attributes, query, into);
    };
    const NetlinkDump::Outcome outcome = NetlinkDump::untilSettled([&] {
        into.resize(start);
        return NetlinkDump(source).run(request, visit);
    });
    if (outcome == NetlinkDump::Outcome::Complete) {
        return true;
    }
    into.resize(start);
    if (outcome == NetlinkDump::Outcome::Interrupted) {
        errno = EIO;
    }
    return false;
}

} // namespace darwin
