#include "platform/darwin/linux/NetlinkSocket.h"

#include <linux/netlink.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace darwin {

namespace {

constexpr size_t kInitialBuffer = 64 * 1024;
constexpr time_t kReadTimeoutSeconds = 5;

ssize_t receiveFrom(int fd, void* into, size_t size, int flags) {
    ssize_t got = 0;
    do {
        got = ::recv(fd, into, size, flags);
    } while (got < 0 && errno == EINTR);
    return got;
}

} // namespace

// A read gives up after kReadTimeoutSeconds (EAGAIN) rather than hold the screen that
// asked on a kernel that does not answer: a dump of 20 000 sockets takes some 20 ms.
std::unique_ptr<NetlinkSource> NetlinkSocket::open(int protocol) {
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, protocol);
    if (fd < 0) {
        return nullptr;
    }
    const timeval patience{kReadTimeoutSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    return std::unique_ptr<NetlinkSource>(new NetlinkSocket(fd));
}

NetlinkConnector NetlinkSocket::connector(int protocol) {
    return [protocol] { return open(protocol); };
}

NetlinkSocket::NetlinkSocket(int fd) : fd_(fd), buffer_(kInitialBuffer) {}

bool NetlinkSocket::request(std::span<const unsigned char> message) {
    if (message.size() < NLMSG_HDRLEN) {
        errno = EINVAL;
        return false;
    }
    request_.assign(message.begin(), message.end());
    const uint32_t sequence = ++sequence_;
    std::memcpy(request_.data() + offsetof(nlmsghdr, nlmsg_seq), &sequence, sizeof sequence);
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    ssize_t sent = 0;
    do {
        sent = ::sendto(fd_.get(), request_.data(), request_.size(), 0,
                        reinterpret_cast<const ::sockaddr*>(&kernel), sizeof kernel);
    } while (sent < 0 && errno == EINTR);
    if (sent >= 0 && static_cast<size_t>(sent) != request_.size()) {
        errno = EIO;
        return false;
    }
    return sent >= 0;
}

// The peek takes nothing and copies nothing: with MSG_TRUNC it tells the datagram's
// whole size, and the buffer grows to it before the datagram is read.
std::span<const unsigned char> NetlinkSocket::receive() {
    const ssize_t waiting = receiveFrom(fd_.get(), nullptr, 0, MSG_PEEK | MSG_TRUNC);
    if (waiting <= 0) {
        errno = waiting == 0 ? EIO : errno;
        return {};
    }
    if (static_cast<size_t>(waiting) > buffer_.size()) {
        buffer_.resize(static_cast<size_t>(waiting));
    }
    const ssize_t got = receiveFrom(fd_.get(), buffer_.data(), buffer_.size(), MSG_TRUNC);
    if (got <= 0 || static_cast<size_t>(got) > buffer_.size()) {
        errno = got < 0 ? errno : EIO; // nothing, or a datagram cut short
        return {};
    }
    return {buffer_.data(), static_cast<size_t>(got)};
}

} // namespace darwin
