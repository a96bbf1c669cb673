#pragma once

#include <functional>
#include <memory>
#include <span>

namespace darwin {

// Where the answers to netlink dump requests come from: a kernel socket (NetlinkSocket,
// NETLINK_ROUTE or NETLINK_SOCK_DIAG), or recorded datagrams in tests. One source serves
// one reading, its dumps one after another.
class NetlinkSource {
public:
    virtual ~NetlinkSource();

    // Sends one request message (nlmsghdr and what follows it), whole; the source
    // numbers it. False with errno.
    virtual bool request(std::span<const unsigned char> message) = 0;
    // The next datagram of the answer, whole, valid until the next call. Empty with errno
    // when nothing more can be read (ENOBUFS: the kernel dropped messages; EIO: an empty
    // or short read; EAGAIN: no answer in time).
    virtual std::span<const unsigned char> receive() = 0;

protected:
    NetlinkSource() = default;
    NetlinkSource(const NetlinkSource&) = delete;
    NetlinkSource& operator=(const NetlinkSource&) = delete;
};

// Opens a source for one reading; null with errno when none can be had.
using NetlinkConnector = std::function<std::unique_ptr<NetlinkSource>()>;

} // namespace darwin
