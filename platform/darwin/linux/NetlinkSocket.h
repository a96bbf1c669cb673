#pragma once

#include "platform/darwin/Descriptor.h"
#include "platform/darwin/linux/NetlinkSource.h"

#include <memory>

namespace darwin {

// The kernel's routing netlink (NETLINK_ROUTE): dump requests numbered in sequence, and
// each datagram of the answer read whole, its size found by peeking first, so that no
// message is ever cut by a buffer too small.
class NetlinkSocket : public NetlinkSource {
public:
    // Null with errno when no socket can be opened.
    static std::unique_ptr<NetlinkSource> open();

    bool request(uint16_t type, uint8_t family) override;
    bool receive(std::vector<unsigned char>& datagram) override;

private:
    explicit NetlinkSocket(int fd) : fd_(fd) {}

    Descriptor fd_;
    uint32_t sequence_ = 0;
};

} // namespace darwin
