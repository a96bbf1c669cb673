#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

// The addresses of one interface as the interface address list (getifaddrs) held them
// when read: its link-level address, its first IPv4 address with netmask and broadcast
// address, and its last IPv6 address with prefix length. An address the list did not
// give reads as null (masklen 0, ether six zero bytes).
class InterfaceCapture {
public:
    // The entries that are up, carry an address and belong to an interface of `names`
    // (the device's name and the host's for the same interface).
    static InterfaceCapture read(const QStringList& names);
    // The device's wireless interface "en0", and the host's name for it when it has one.
    static QStringList deviceInterfaceNames();

    std::optional<QString> macaddr() const;
    std::array<uint8_t, 6> ether() const;
    std::optional<QString> ipaddr() const;
    std::optional<QString> netmask() const;
    std::optional<QString> netaddr() const;
    uint8_t masklen() const;
    std::optional<QString> broadcast() const;
    std::optional<QString> ip6addr() const;

    // "fe80::0211:22ff:fe33:4455/64": the groups as "%04x", a single zero group as "0",
    // every run of two or more zero groups as "::".
    static QString ipv6Text(const std::array<uint8_t, 16>& address, uint8_t prefixLength);
    // "%u.%u.%u.%u" of the bytes in order.
    static QString dottedText(const std::array<uint8_t, 4>& address);
    // The one bits of an IPv4 netmask, and the network of an address under it.
    static uint8_t prefixLengthOf(const std::array<uint8_t, 4>& netmask);
    static std::array<uint8_t, 4> networkOf(const std::array<uint8_t, 4>& address,
                                            const std::array<uint8_t, 4>& netmask);

private:
    // Which parts were captured.
    enum Part : uint32_t {
        Ether = 0x01,
        Address = 0x02,
        Netmask = 0x04,
        Broadcast = 0x08,
        Ipv6 = 0x10,
    };

    void takeLink(const unsigned char* address);
    void takeIpv4(const unsigned char* address, const unsigned char* netmask,
                  const unsigned char* broadcast);
    void takeIpv6(const unsigned char* address, const unsigned char* netmask);
    std::optional<QString> ifCaptured(Part part, const QString& text) const;

    uint32_t status_ = 0;
    std::array<uint8_t, 6> ether_{};
    std::array<uint8_t, 4> address_{};
    uint8_t prefixLength_ = 0;
    std::array<uint8_t, 4> broadcast_{};
    std::array<uint8_t, 4> netmask_{};
    std::array<uint8_t, 4> network_{};
    std::array<uint8_t, 16> ipv6_{};
    uint8_t ipv6PrefixLength_ = 0;
};
