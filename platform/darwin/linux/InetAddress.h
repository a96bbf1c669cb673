#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

// Small facts about the raw bytes of IPv4 and IPv6 addresses, as netlink carries them.
namespace darwin {

// The netmask of a prefix length, as 16 address bytes (an IPv4 mask in the first 4).
inline std::array<uint8_t, 16> prefixMask(unsigned length) {
    std::array<uint8_t, 16> mask{};
    length = std::min(length, 128u);
    for (unsigned i = 0; i < length / 8; ++i) {
        mask[i] = 0xff;
    }
    if (length % 8 != 0) {
        mask[length / 8] = static_cast<uint8_t>(0xff00 >> (length % 8));
    }
    return mask;
}

// fe80::/10: meaningful only together with its interface (the scope id).
inline bool isLinkLocalIn6(const uint8_t* address) {
    return address[0] == 0xfe && (address[1] & 0xc0) == 0x80;
}

inline std::array<uint8_t, 4> firstFour(const std::array<uint8_t, 16>& bytes) {
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

} // namespace darwin
