#include "platform/darwin/linux/RtnetlinkDump.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <array>
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

} // namespace

NetlinkDump::Outcome runRtnetlinkDump(NetlinkSource& source, uint16_t type, uint8_t family,
                                      const NetlinkDump::Visitor& visit) {
    std::array<unsigned char, NLMSG_HDRLEN + sizeof(ifinfomsg)> request{};
    nlmsghdr header{};
    header.nlmsg_len = static_cast<uint32_t>(NLMSG_HDRLEN + requestHeaderSize(type));
    header.nlmsg_type = type;
    header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    std::memcpy(request.data(), &header, sizeof header);
    request[NLMSG_HDRLEN] = family;
    return NetlinkDump(source).run(std::span(request).first(header.nlmsg_len), visit);
}

} // namespace darwin
