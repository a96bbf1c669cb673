#include "system/InterfaceCapture.h"

#include "common/LogCategories.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/Route.h"
#include "platform/services/PlatformProfile.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace {

// A device-form socket address as far as its sa_len reaches, zeros after it.
template <size_t Size> std::array<uint8_t, Size> addressBytes(const unsigned char* address) {
    std::array<uint8_t, Size> bytes{};
    std::copy_n(address, std::min<size_t>(address[0], Size), bytes.begin());
    return bytes;
}

std::array<uint8_t, 4> ipv4Of(const unsigned char* address) {
    return darwin::sockaddr_in::Layout::decode(addressBytes<16>(address).data()).addr;
}

std::array<uint8_t, 16> ipv6Of(const unsigned char* address) {
    return darwin::sockaddr_in6::Layout::decode(addressBytes<28>(address).data()).addr;
}

} // namespace

QStringList InterfaceCapture::deviceInterfaceNames() {
    QStringList names{QStringLiteral("en0")};
    const QString hostName = services::PlatformProfile::wirelessInterfaceName();
    if (!hostName.isEmpty()) {
        names.append(hostName);
    }
    return names;
}

InterfaceCapture InterfaceCapture::read(const QStringList& names) {
    InterfaceCapture capture;
    darwin::ifaddrs* list = nullptr;
    if (darwin::getifaddrs(&list) == -1) {
        qCWarning(lcSystem, "interface addresses: getifaddrs: %s", std::strerror(errno));
        return capture;
    }
    bool ipv4Taken = false;
    for (const darwin::ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if ((entry->ifa_flags & darwin::IFF_UP_DARWIN) == 0 || entry->ifa_addr == nullptr ||
            !names.contains(QString::fromUtf8(entry->ifa_name))) {
            continue;
        }
        switch (entry->ifa_addr[1]) {
        case darwin::AF_LINK:
            capture.takeLink(entry->ifa_addr);
            break;
        case darwin::AF_INET_DARWIN:
            if (!ipv4Taken) {
                capture.takeIpv4(entry->ifa_addr, entry->ifa_netmask, entry->ifa_dstaddr);
                ipv4Taken = true;
            }
            break;
        case darwin::AF_INET6_DARWIN:
            capture.takeIpv6(entry->ifa_addr, entry->ifa_netmask);
            break;
        default:
            break;
        }
    }
    darwin::freeifaddrs(list);
    return capture;
}

void InterfaceCapture::takeLink(const unsigned char* address) {
    const auto bytes = addressBytes<256>(address);
    const darwin::SockaddrDl dl = darwin::sockaddr_dl::Layout::decode(bytes.data());
    if (dl.nlen == 0) {
        return;
    }
    const size_t at = darwin::sockaddr_dl::kDataOffset + dl.nlen;
    std::copy_n(bytes.begin() + at, std::min<size_t>(dl.alen, ether_.size()), ether_.begin());
    status_ |= Ether;
}

void InterfaceCapture::takeIpv4(const unsigned char* address, const unsigned char* netmask,
                                const unsigned char* broadcast) {
    address_ = ipv4Of(address);
    status_ |= Address;
    if (netmask != nullptr) {
        netmask_ = ipv4Of(netmask);
        prefixLength_ = prefixLengthOf(netmask_);
        network_ = networkOf(address_, netmask_);
        status_ |= Netmask;
    }
    if (broadcast != nullptr) {
        broadcast_ = ipv4Of(broadcast);
        status_ |= Broadcast;
    }
}

void InterfaceCapture::takeIpv6(const unsigned char* address, const unsigned char* netmask) {
    ipv6_ = ipv6Of(address);
    if (netmask != nullptr) {
        const std::array<uint8_t, 16> mask = ipv6Of(netmask);
        unsigned bits = 0;
        for (size_t word = 0; word < 4; ++word) {
            bits += prefixLengthOf(
                {mask[word * 4], mask[word * 4 + 1], mask[word * 4 + 2], mask[word * 4 + 3]});
        }
        ipv6PrefixLength_ = static_cast<uint8_t>(bits);
    }
    status_ |= Ipv6;
}

std::optional<QString> InterfaceCapture::ifCaptured(Part part, const QString& text) const {
    return (status_ & part) != 0 ? std::optional<QString>(text) : std::nullopt;
}

std::optional<QString> InterfaceCapture::macaddr() const {
    return ifCaptured(Ether,
                      QString::asprintf("%02x:%02x:%02x:%02x:%02x:%02x", ether_[0], ether_[1],
                                        ether_[2], ether_[3], ether_[4], ether_[5]));
}

std::array<uint8_t, 6> InterfaceCapture::ether() const {
    return (status_ & Ether) != 0 ? ether_ : std::array<uint8_t, 6>{};
}

std::optional<QString> InterfaceCapture::ipaddr() const {
    return ifCaptured(Address, dottedText(address_));
}

std::optional<QString> InterfaceCapture::netmask() const {
    return ifCaptured(Netmask, dottedText(netmask_));
}

std::optional<QString> InterfaceCapture::netaddr() const {
    return ifCaptured(Netmask, dottedText(network_));
}

uint8_t InterfaceCapture::masklen() const {
    return (status_ & Netmask) != 0 ? prefixLength_ : 0;
}

std::optional<QString> InterfaceCapture::broadcast() const {
    return ifCaptured(Broadcast, dottedText(broadcast_));
}

std::optional<QString> InterfaceCapture::ip6addr() const {
    return ifCaptured(Ipv6, ipv6Text(ipv6_, ipv6PrefixLength_));
}

QString InterfaceCapture::dottedText(const std::array<uint8_t, 4>& address) {
    return QString::asprintf("%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

uint8_t InterfaceCapture::prefixLengthOf(const std::array<uint8_t, 4>& netmask) {
    return static_cast<uint8_t>(std::popcount(std::bit_cast<uint32_t>(netmask)));
}

std::array<uint8_t, 4> InterfaceCapture::networkOf(const std::array<uint8_t, 4>& address,
                                                   const std::array<uint8_t, 4>& netmask) {
    std::array<uint8_t, 4> network{};
    for (size_t i = 0; i < network.size(); ++i) {
        network[i] = address[i] & netmask[i];
    }
    return network;
}

QString InterfaceCapture::ipv6Text(const std::array<uint8_t, 16>& address, uint8_t prefixLength) {
    constexpr size_t kGroups = 8;
    const auto group = [&](size_t i) { return address[2 * i] << 8 | address[2 * i + 1]; };
    QStringList parts;
    bool opensWithRun = false;
    bool closesWithRun = false;
    for (size_t i = 0; i < kGroups;) {
        size_t run = 0;
        while (i + run < kGroups && group(i + run) == 0) {
            ++run;
        }
        if (run >= 2) {
            parts.append(QString());
            opensWithRun = opensWithRun || i == 0;
            closesWithRun = i + run == kGroups;
            i += run;
        } else if (run == 1) {
            parts.append(QStringLiteral("0"));
            ++i;
        } else {
            parts.append(QString::asprintf("%04x", group(i)));
            ++i;
        }
    }
    const QString text = (opensWithRun ? QStringLiteral(":") : QString()) + parts.join(':') +
                         (closesWithRun ? QStringLiteral(":") : QString());
    return text + QStringLiteral("/%1").arg(prefixLength);
}
