#pragma once

#include "platform/darwin/Descriptor.h"
#include "platform/darwin/linux/NetlinkSource.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace darwin {

// A kernel netlink socket of the calling process's network namespace, open for the life
// of the object: requests numbered in sequence, and each datagram of an answer sized
// first (MSG_PEEK | MSG_TRUNC) and read whole into a buffer that starts at 64 KiB, above
// the 32 KiB the kernel puts into one dump datagram, and grows only for a larger one.
class NetlinkSocket : public NetlinkSource {
public:
    // `protocol` is NETLINK_ROUTE or NETLINK_SOCK_DIAG; null with errno when no socket
    // can be opened.
    static std::unique_ptr<NetlinkSource> open(int protocol);
    // Opens a socket of that protocol per reading.
    static NetlinkConnector connector(int protocol);

    bool request(std::span<const unsigned char> message) override;
    std::span<const unsigned char> receive() override;

private:
    explicit NetlinkSocket(int fd);

    Descriptor fd_;
    uint32_t sequence_ = 0;
    std::vector<unsigned char> request_;
    std::vector<unsigned char> buffer_;
};

} // namespace darwin
