#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace darwin {

// Where the answers to rtnetlink dump requests come from: the kernel (NetlinkSocket), or
// recorded dumps in tests. One source serves one reading, its dumps one after another.
class NetlinkSource {
public:
    virtual ~NetlinkSource();

    // Asks for a dump of `type` (RTM_GETLINK, RTM_GETADDR, RTM_GETROUTE, RTM_GETNEIGH)
    // in `family`; false with errno.
    virtual bool request(uint16_t type, uint8_t family) = 0;
    // The next datagram of the answer, whole, in `datagram` (resized to it); false with
    // errno (ENOBUFS: the kernel dropped messages; EIO: a short read).
    virtual bool receive(std::vector<unsigned char>& datagram) = 0;

protected:
    NetlinkSource() = default;
    NetlinkSource(const NetlinkSource&) = delete;
    NetlinkSource& operator=(const NetlinkSource&) = delete;
};

// Opens a source for one reading; null with errno when none can be had.
using NetlinkConnector = std::function<std::unique_ptr<NetlinkSource>()>;

} // namespace darwin
