#include "platform/darwin/linux/SockDiagDump.h"

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

namespace darwin {

namespace {

constexpr int kAttempts = 4;

enum class Progress { More, Done, Failed };

// The dump as read so far: where its sockets start in the output and whether the
// kernel said the dump was disturbed.
struct DumpState {
    const SockDiagQuery& query;
    std::vector<InetSocket>& into;
    bool interrupted = false;
};

template <class T> T load(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

Progress failWith(int error) {
    errno = error;
    return Progress::Failed;
}

// INET_DIAG_SKV6ONLY among the message's attributes; false when they do not parse.
bool readAttributes(const unsigned char* at, size_t length, InetSocket& socket) {
    while (length > 0) {
        if (length < sizeof(rtattr)) {
            return false;
        }
        const auto attribute = load<rtattr>(at);
        if (attribute.rta_len < sizeof(rtattr) || attribute.rta_len > length) {
            return false;
        }
        if (attribute.rta_type == INET_DIAG_SKV6ONLY && attribute.rta_len > RTA_LENGTH(0)) {
            socket.v6only =
                at[RTA_LENGTH(0)] != 0 ? InetSocket::V6Only::Yes : InetSocket::V6Only::No;
        }
        const size_t step = std::min<size_t>(RTA_ALIGN(attribute.rta_len), length);
        at += step;
        length -= step;
    }
    return true;
}

// A raw socket's local port is its protocol; raw sockets have no ports on the device.
void takeRawProtocol(InetSocket& socket) {
    socket.protocol = static_cast<uint8_t>(socket.localPort);
    socket.localPort = 0;
    socket.foreignPort = 0;
}

std::optional<InetSocket> socketOf(const unsigned char* payload, size_t length,
                                   const SockDiagQuery& query) {
    if (length < sizeof(inet_diag_msg)) {
        return std::nullopt;
    }
    const auto message = load<inet_diag_msg>(payload);
    InetSocket socket;
    std::memcpy(socket.localAddress.data(), message.id.idiag_src, 16);
    std::memcpy(socket.foreignAddress.data(), message.id.idiag_dst, 16);
    socket.localPort = ntohs(message.id.idiag_sport);
    socket.foreignPort = ntohs(message.id.idiag_dport);
    socket.receiveQueue = message.idiag_rqueue;
    socket.sendQueue = message.idiag_wqueue;
    socket.uid = message.idiag_uid;
    socket.family = message.idiag_family;
    socket.state = message.idiag_state;
    const size_t attributes = NLMSG_ALIGN(sizeof(inet_diag_msg));
    if (length > attributes && !readAttributes(payload + attributes, length - attributes, socket)) {
        return std::nullopt;
    }
    if (query.protocol == IPPROTO_RAW) {
        takeRawProtocol(socket);
    }
    return socket;
}

// The error a NLMSG_ERROR message carries, or that a NLMSG_DONE carries after a dump
// the kernel could not finish.
Progress endOf(const nlmsghdr& header, const unsigned char* payload) {
    const size_t length = header.nlmsg_len - NLMSG_HDRLEN;
    const int error = length >= sizeof(int) ? load<int>(payload) : 0;
    if (header.nlmsg_type == NLMSG_ERROR) {
        return failWith(length < sizeof(int) || error >= 0 ? EIO : -error);
    }
    return error < 0 ? failWith(-error) : Progress::Done;
}

Progress readMessage(const nlmsghdr& header, const unsigned char* payload, DumpState& dump) {
    if ((header.nlmsg_flags & NLM_F_DUMP_INTR) != 0) {
        dump.interrupted = true;
    }
    if (header.nlmsg_type == NLMSG_DONE || header.nlmsg_type == NLMSG_ERROR) {
        return endOf(header, payload);
    }
    if (header.nlmsg_type != SOCK_DIAG_BY_FAMILY && header.nlmsg_type != TCPDIAG_GETSOCK) {
        return Progress::More;
    }
    const std::optional<InetSocket> socket =
        socketOf(payload, header.nlmsg_len - NLMSG_HDRLEN, dump.query);
    if (!socket) {
        return failWith(EIO);
    }
    if (!dump.interrupted) {
        dump.into.push_back(*socket);
    }
    return Progress::More;
}

Progress readDatagram(std::span<const unsigned char> datagram, DumpState& dump) {
    const unsigned char* at = datagram.data();
    size_t left = datagram.size();
    while (left > 0) {
        if (left < NLMSG_HDRLEN) {
            return failWith(EIO);
        }
        const auto header = load<nlmsghdr>(at);
        if (header.nlmsg_len < NLMSG_HDRLEN || header.nlmsg_len > left) {
            return failWith(EIO);
        }
        const Progress progress = readMessage(header, at + NLMSG_HDRLEN, dump);
        if (progress != Progress::More) {
            return progress;
        }
        const size_t step = std::min<size_t>(NLMSG_ALIGN(header.nlmsg_len), left);
        at += step;
        left -= step;
    }
    return Progress::More;
}

Progress readOnce(SockDiagSource& source, DumpState& dump) {
    if (!source.request(dump.query)) {
        return Progress::Failed;
    }
    while (true) {
        const std::span<const unsigned char> datagram = source.receive();
        if (datagram.empty()) {
            return Progress::Failed;
        }
        const Progress progress = readDatagram(datagram, dump);
        if (progress != Progress::More) {
            return progress;
        }
    }
}

} // namespace

bool readSockDiagDump(SockDiagSource& source, const SockDiagQuery& query,
                      std::vector<InetSocket>& into) {
    const size_t start = into.size();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        DumpState dump{query, into};
        const Progress progress = readOnce(source, dump);
        if (progress == Progress::Done && !dump.interrupted) {
            return true;
        }
        into.resize(start);
        if (progress == Progress::Failed) {
            return false;
        }
    }
    errno = EIO;
    return false;
}

} // namespace darwin
