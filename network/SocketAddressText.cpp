#include "network/SocketAddressText.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Route.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>

namespace {

constexpr size_t kSockNtopSize = 128;
constexpr size_t kEtherNtopSize = 18;
constexpr size_t kInetnameSize = 256;
constexpr size_t kLinkNtoaSize = 64;
constexpr uint8_t kFamily16 = 16;
constexpr uint8_t kMaskFamily = 255;
constexpr size_t kEtherLength = 6;

template <size_t Size> char* clearedBuffer(std::array<char, Size>& buffer) {
    buffer.fill(0);
    return buffer.data();
}

// The address's bytes as far as they may be read (sa_len, the caller's bound), and
// zeros after them: the head (sa_len, sa_family) is always read when it is there.
struct BoundedAddress {
    std::array<unsigned char, 256> bytes{};
    size_t length = 0;

    BoundedAddress(const unsigned char* address, size_t available) {
        if (available >= 2) {
            length = std::min(std::max<size_t>(address[0], 2), available);
            std::copy_n(address, length, bytes.begin());
        }
    }
    uint8_t family() const { return bytes[1]; }
};

const char* inetText(const BoundedAddress& address, char* out) {
    const unsigned char* in = address.bytes.data() + 4;
    if (darwin::readInteger<uint32_t, std::endian::big>(in, 0) == 0) {
        std::snprintf(out, kSockNtopSize, "default");
    } else {
        std::snprintf(out, kSockNtopSize, "%u.%u.%u.%u", in[0], in[1], in[2], in[3]);
    }
    return out;
}

const char* linkText(const BoundedAddress& address, char* out) {
    const darwin::SockaddrDl head = darwin::sockaddr_dl::Layout::decode(address.bytes.data());
    if (head.nlen == 0 && head.alen == 0 && head.slen == 0) {
        std::snprintf(out, kSockNtopSize, "link#%d", head.index);
        return out;
    }
    const size_t etherAt = darwin::sockaddr_dl::kDataOffset + head.nlen;
    const bool etherType = head.type == darwin::IFT_ETHER || head.type == darwin::IFT_L2VLAN;
    if (etherType && head.alen == kEtherLength && etherAt + kEtherLength <= address.length) {
        std::snprintf(out, kSockNtopSize, "%s", ether_ntop(address.bytes.data() + etherAt));
        return out;
    }
    std::snprintf(out, kSockNtopSize, "%s", link_ntoa(address.bytes.data(), address.length));
    return out;
}

// The leading one bits of the word where an IPv4 address would be.
const char* maskText(const BoundedAddress& address, char* out) {
    const uint32_t mask = darwin::readInteger<uint32_t, std::endian::big>(address.bytes.data(), 4);
    const auto bits = static_cast<unsigned short>(std::countl_one(mask));
    return std::snprintf(out, kSockNtopSize, "/%hu", bits) > 0 ? out : nullptr;
}

// "(family)", then the data bytes in groups of two, each group after a blank.
const char* otherText(const BoundedAddress& address, char* out) {
    int written = std::snprintf(out, kSockNtopSize, "(%d)", address.family());
    constexpr int kRoomForAGroup = static_cast<int>(kSockNtopSize) - 6;
    for (size_t i = 2; i < address.length && written < kRoomForAGroup; i += 2) {
        written += std::snprintf(out + written, kSockNtopSize - static_cast<size_t>(written),
                                 " %02x", address.bytes[i]);
        if (i + 1 < address.length) {
            written += std::snprintf(out + written, kSockNtopSize - static_cast<size_t>(written),
                                     "%02x", address.bytes[i + 1]);
        }
    }
    return out;
}

} // namespace

const char* sock_ntop(const unsigned char* address, size_t available) {
    thread_local std::array<char, kSockNtopSize> buffer;
    char* out = clearedBuffer(buffer);
    if (address == nullptr || available < 2) {
        return nullptr;
    }
    const BoundedAddress bounded(address, available);
    switch (bounded.family()) {
    case darwin::AF_UNSPEC_DARWIN:
    case kFamily16:
        return nullptr;
    case darwin::AF_INET_DARWIN:
        return inetText(bounded, out);
    case darwin::AF_LINK:
        return linkText(bounded, out);
    case kMaskFamily:
        return maskText(bounded, out);
    default:
        return otherText(bounded, out);
    }
}

const char* ether_ntop(const unsigned char* address) {
    thread_local std::array<char, kEtherNtopSize> buffer;
    char* out = clearedBuffer(buffer);
    std::snprintf(out, kEtherNtopSize, "%02x:%02x:%02x:%02x:%02x:%02x", address[0], address[1],
                  address[2], address[3], address[4], address[5]);
    return out;
}

const char* inetname(const unsigned char* address) {
    thread_local std::array<char, kInetnameSize> buffer;
    char* out = clearedBuffer(buffer);
    if (darwin::readInteger<uint32_t, std::endian::big>(address, 0) == 0) {
        out[0] = '*';
    } else {
        std::snprintf(out, kInetnameSize, "%u.%u.%u.%u", address[0], address[1], address[2],
                      address[3]);
    }
    return out;
}

const char* link_ntoa(const unsigned char* address, size_t available) {
    thread_local std::array<char, kLinkNtoaSize> buffer;
    char* out = clearedBuffer(buffer);
    static constexpr char kHex[] = "0123456789abcdef";
    if (address == nullptr || available == 0) {
        return out;
    }
    const size_t bound = std::min<size_t>(available, address[0]);
    if (bound < darwin::sockaddr_dl::kDataOffset) {
        return out;
    }
    const darwin::SockaddrDl head = darwin::sockaddr_dl::Layout::decode(address);
    const unsigned char* data = address + darwin::sockaddr_dl::kDataOffset;
    const size_t room = bound - darwin::sockaddr_dl::kDataOffset;
    const size_t nameLength = std::min<size_t>({head.nlen, room, darwin::IFNAMSIZ_DARWIN});
    const size_t addressLength =
        std::min<size_t>(head.alen, room - std::min<size_t>(head.nlen, room));
    size_t at = std::copy_n(data, nameLength, out) - out;
    if (nameLength > 0 && addressLength > 0) {
        out[at++] = ':';
    }
    const unsigned char* in = data + head.nlen;
    for (size_t i = 0; i < addressLength; ++i) {
        const size_t digits = in[i] > 0xf ? 2 : 1;
        if (at + (i > 0 ? 1 : 0) + digits >= kLinkNtoaSize) {
            break;
        }
        if (i > 0) {
            out[at++] = '.';
        }
        if (digits == 2) {
            out[at++] = kHex[in[i] >> 4];
        }
        out[at++] = kHex[in[i] & 0xf];
    }
    return out;
}
