#include "platform/darwin/linux/NetlinkAttributes.h"

#include <linux/netlink.h>

#include <algorithm>

namespace darwin {

bool NetlinkAttributes::parse(Bytes bytes) {
    present_ = 0;
    size_t at = 0;
    while (bytes.size() - at >= NLA_HDRLEN) {
        uint16_t length = 0;
        uint16_t type = 0;
        std::memcpy(&length, bytes.data() + at, sizeof length);
        std::memcpy(&type, bytes.data() + at + sizeof length, sizeof type);
        if (length < NLA_HDRLEN || length > bytes.size() - at) {
            return false;
        }
        type &= NLA_TYPE_MASK; // without the nested and byte-order bits
        if (type < kTypes) {
            found_[type] = bytes.subspan(at + NLA_HDRLEN, length - NLA_HDRLEN);
            present_ |= uint32_t{1} << type;
        }
        at += std::min<size_t>(NLA_ALIGN(length), bytes.size() - at);
    }
    return true;
}

} // namespace darwin
