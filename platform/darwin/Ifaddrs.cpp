#include "platform/darwin/Ifaddrs.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>
#include <type_traits>

namespace darwin {

namespace {

// The nodes and everything they point at, in one object; the first node is its first
// member, so the list's head leads back to the whole.
struct IfaddrsBlock {
    std::vector<ifaddrs> nodes;
    std::vector<InterfaceAddress> entries;
};

// Standard layout, so the first node's address is the holder's.
struct IfaddrsHead {
    ifaddrs first;
    IfaddrsBlock* block = nullptr;
};
static_assert(std::is_standard_layout_v<IfaddrsHead>);

unsigned char* bytesOrNull(std::vector<unsigned char>& bytes) {
    return bytes.empty() ? nullptr : bytes.data();
}

} // namespace

ifaddrs* makeIfaddrsList(const std::vector<InterfaceAddress>& entries) {
    if (entries.empty()) {
        return nullptr; // as the C library answers for a host without interfaces
    }
    auto head = std::make_unique<IfaddrsHead>();
    head->block = new (std::nothrow) IfaddrsBlock;
    if (head->block == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    IfaddrsBlock& block = *head->block;
    block.entries = entries;
    block.nodes.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        ifaddrs& node = i == 0 ? head->first : block.nodes[i];
        InterfaceAddress& entry = block.entries[i];
        node.ifa_name = entry.name.data();
        node.ifa_flags = entry.flags;
        node.ifa_addr = bytesOrNull(entry.addr);
        node.ifa_netmask = bytesOrNull(entry.netmask);
        node.ifa_dstaddr = bytesOrNull(entry.dstaddr);
    }
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        ifaddrs& node = i == 0 ? head->first : block.nodes[i];
        node.ifa_next = &block.nodes[i + 1];
    }
    return &head.release()->first;
}

void freeIfaddrsList(ifaddrs* list) {
    if (list == nullptr) {
        return;
    }
    auto* head = reinterpret_cast<IfaddrsHead*>(list);
    delete head->block;
    delete head;
}

std::vector<unsigned char> socketAddressIn(const std::array<uint8_t, 4>& address) {
    std::vector<unsigned char> bytes(sockaddr_in::Layout::kSize);
    SockaddrIn value;
    value.addr = address;
    sockaddr_in::Layout::encode(value, bytes.data());
    return bytes;
}

std::vector<unsigned char> socketAddressIn6(const std::array<uint8_t, 16>& address,
                                            uint32_t scopeId) {
    std::vector<unsigned char> bytes(sockaddr_in6::Layout::kSize);
    SockaddrIn6 value;
    value.addr = address;
    value.scopeId = scopeId;
    sockaddr_in6::Layout::encode(value, bytes.data());
    return bytes;
}

std::vector<unsigned char> socketAddressDl(uint16_t index, uint8_t type, const std::string& name,
                                           const std::vector<uint8_t>& linkAddress) {
    const size_t used = sockaddr_dl::kDataOffset + name.size() + linkAddress.size();
    const size_t length = std::max(used, sockaddr_dl::kMinimumSize);
    const size_t rounded = (length + 3) & ~size_t{3};
    constexpr size_t kLargest = 252; // sdl_len is one byte, rounded to 4
    std::vector<unsigned char> bytes(kLargest, 0);
    const size_t kept = std::min(rounded, kLargest);
    SockaddrDl head;
    head.len = static_cast<uint8_t>(kept);
    head.index = index;
    head.type = type;
    head.nlen = static_cast<uint8_t>(std::min<size_t>(name.size(), IFNAMSIZ_DARWIN));
    head.alen = static_cast<uint8_t>(std::min<size_t>(linkAddress.size(),
                                                      kept - sockaddr_dl::kDataOffset - head.nlen));
    sockaddr_dl::Layout::encode(head, bytes.data());
    std::copy_n(name.begin(), head.nlen, bytes.begin() + sockaddr_dl::kDataOffset);
    std::copy_n(linkAddress.begin(), head.alen,
                bytes.begin() + sockaddr_dl::kDataOffset + head.nlen);
    bytes.resize(kept);
    return bytes;
}

} // namespace darwin
