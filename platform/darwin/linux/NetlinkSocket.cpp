#include "platform/darwin/linux/NetlinkSocket.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace darwin {

namespace {

// The family header a dump request carries; its first byte names the family.
size_t requestHeaderSize(uint16_t type) {
    switch (type) {
    case RTM_GETLINK:
        return sizeof(ifinfomsg);
    case RTM_GETADDR:
        return sizeof(ifaddrmsg);
    case RTM_GETROUTE:
        return sizeof(rtmsg);
    case RTM_GETNEIGH:
        return sizeof(ndmsg);
    default:
        return sizeof(rtgenmsg);
    }
}

// The kernel fills dump datagrams of up to 32 KiB for a reader that offers that much.
constexpr size_t kDatagramRoom = 32 * 1024;

ssize_t receiveFrom(int fd, std::vector<unsigned char>& into, int flags) {
    ssize_t got = 0;
    do {
        got = ::recv(fd, into.data(), into.size(), flags);
    } while (got < 0 && errno == EINTR);
    return got;
}

} // namespace

std::unique_ptr<NetlinkSource> NetlinkSocket::open() {
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0) {
        return nullptr;
    }
    // A kernel that does not answer within this time fails the reading (EAGAIN) rather
    // than holding the screen that asked.
    const timeval patience{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    return std::unique_ptr<NetlinkSource>(new NetlinkSocket(fd));
}

bool NetlinkSocket::request(uint16_t type, uint8_t family) {
    unsigned char message[NLMSG_HDRLEN + sizeof(ifinfomsg)] = {};
    nlmsghdr header{};
    header.nlmsg_len = static_cast<uint32_t>(NLMSG_HDRLEN + requestHeaderSize(type));
    header.nlmsg_type = type;
    header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    header.nlmsg_seq = ++sequence_;
    std::memcpy(message, &header, sizeof header);
    message[NLMSG_HDRLEN] = family;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    ssize_t sent = 0;
    do {
        sent = ::sendto(fd_.get(), message, header.nlmsg_len, 0,
                        reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel);
    } while (sent < 0 && errno == EINTR);
    if (sent >= 0 && static_cast<size_t>(sent) != header.nlmsg_len) {
        errno = EIO;
    }
    return sent >= 0 && static_cast<size_t>(sent) == header.nlmsg_len;
}

// A peek with MSG_TRUNC tells the datagram's whole size without taking it; the buffer
// grows to it before the datagram is read.
bool NetlinkSocket::receive(std::vector<unsigned char>& datagram) {
    datagram.resize(std::max(datagram.capacity(), kDatagramRoom));
    const ssize_t size = receiveFrom(fd_.get(), datagram, MSG_PEEK | MSG_TRUNC);
    if (size < 0) {
        return false;
    }
    if (static_cast<size_t>(size) > datagram.size()) {
        datagram.resize(static_cast<size_t>(size));
    }
    const ssize_t got = receiveFrom(fd_.get(), datagram, 0);
    if (got < 0) {
        return false;
    }
    if (got != size) {
        errno = EIO;
        return false;
    }
    datagram.resize(static_cast<size_t>(got));
    return true;
}

} // namespace darwin
