#pragma once

#include "platform/darwin/RecordLayout.h"
#include "platform/darwin/Route.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The device's interface address list (getifaddrs) and the interface requests of its
// SIOCGIF* ioctls. The list is a host structure (its pointers are the host's), but
// every socket address it points at is in the device's form: sa_len first, the device's
// family numbers (AF_LINK 18 with a sockaddr_dl, AF_INET 2, AF_INET6 30).
namespace darwin {

struct ifaddrs {
    ifaddrs* ifa_next = nullptr;
    char* ifa_name = nullptr;
    unsigned int ifa_flags = 0; // IFF_*_DARWIN
    unsigned char* ifa_addr = nullptr;    // device-form socket address, or null
    unsigned char* ifa_netmask = nullptr; // device-form socket address, or null
    unsigned char* ifa_dstaddr = nullptr; // broadcast or point-to-point peer, or null
    void* ifa_data = nullptr;
};

// One entry of the list, as a backend builds it: the socket addresses as device-form
// bytes (empty: none).
struct InterfaceAddress {
    std::string name;
    unsigned int flags = 0;
    std::vector<unsigned char> addr;
    std::vector<unsigned char> netmask;
    std::vector<unsigned char> dstaddr;

    bool operator==(const InterfaceAddress&) const = default;
};

// The list of the entries, in their order, in one allocation that freeIfaddrsList
// releases; null (with errno ENOMEM) only when nothing could be allocated.
ifaddrs* makeIfaddrsList(const std::vector<InterfaceAddress>& entries);
void freeIfaddrsList(ifaddrs* list);

// Device-form socket addresses for building entries and answers.
std::vector<unsigned char> socketAddressIn(const std::array<uint8_t, 4>& address);
std::vector<unsigned char> socketAddressIn6(const std::array<uint8_t, 16>& address,
                                            uint32_t scopeId = 0);
// A sockaddr_dl of the interface: name, link address (possibly none) and its type.
std::vector<unsigned char> socketAddressDl(uint16_t index, uint8_t type, const std::string& name,
                                           const std::vector<uint8_t>& linkAddress);

// The interface requests, by the device's numbers (_IOWR('i', n, struct ifreq), a
// 32-byte struct ifreq).
constexpr unsigned long SIOCGIFADDR_DARWIN = 0xC0206921;
constexpr unsigned long SIOCGIFDSTADDR_DARWIN = 0xC0206922;
constexpr unsigned long SIOCGIFBRDADDR_DARWIN = 0xC0206923;
constexpr unsigned long SIOCGIFNETMASK_DARWIN = 0xC0206925;

// struct ifreq with its address member: the interface name in 16 bytes (the request
// names it; a name of 16 bytes has no NUL), then a 16-byte device-form sockaddr.
struct IfreqAddress {
    std::string name;
    std::array<uint8_t, 16> addr{};

    bool operator==(const IfreqAddress&) const = default;
};

namespace ifreq {
using Layout = RecordLayout<IfreqAddress, 32,                               // struct ifreq
                            Field<&IfreqAddress::name, 0, Text<IFNAMSIZ_DARWIN>>, // ifr_name
                            Field<&IfreqAddress::addr, 16>>;                // ifr_addr
} // namespace ifreq

} // namespace darwin
