#pragma once

#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/InPcb.h"
#include "platform/darwin/Route.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/fixture/FixtureBackend.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// The device's network buffers, built by hand for the tests: socket addresses, the
// routing and interface messages that sysctl {CTL_NET, PF_ROUTE, …} answers, the
// control-block lists of the pcblist names, and a typical host served by a fixture
// backend. Every builder writes what the device's kernel writes, through the record
// layouts; odd and broken forms are built from the same parts (sockaddrOf, join).
namespace networkbuffers {

using Bytes = std::vector<unsigned char>;
using Ipv4 = std::array<uint8_t, 4>;
using Ipv6 = std::array<uint8_t, 16>;

// The names the models ask for.
inline const std::vector<int> kInterfaceListName{darwin::CTL_NET, darwin::PF_ROUTE_DARWIN, 0,
                                                 darwin::AF_LINK, darwin::NET_RT_IFLIST2,  0};
inline const std::vector<int> kRoutingDumpName{
    darwin::CTL_NET, darwin::PF_ROUTE_DARWIN, 0, 0, darwin::NET_RT_DUMP, 0};

// The parts one after the other.
inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// ---- Socket addresses ----

inline Bytes sockaddrIn(const Ipv4& address) {
    return darwin::socketAddressIn(address);
}

inline Bytes sockaddrIn6(const Ipv6& address, uint32_t scopeId = 0) {
    return darwin::socketAddressIn6(address, scopeId);
}

// The interface's sockaddr_dl: its name, then its link address (none: no bytes).
inline Bytes sockaddrDl(uint16_t index, uint8_t type, const std::string& name = {},
                        const std::vector<uint8_t>& linkAddress = {}) {
    return darwin::socketAddressDl(index, type, name, linkAddress);
}

// Any socket address: sa_len and sa_family as given (sa_len need not match the data),
// then the data bytes.
inline Bytes sockaddrOf(uint8_t saLen, uint8_t family, const std::vector<uint8_t>& data = {}) {
    Bytes bytes{saLen, family};
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

// A netmask as the routing table keeps it: the mask where a sockaddr_in keeps its
// address (offset 4), cut to sa_len bytes (the radix tree drops trailing zero bytes, so
// /24 has sa_len 7 and /0 sa_len 0); the family byte is not the address family.
inline Bytes sockaddrMask(const Ipv4& mask, uint8_t saLen = 8, uint8_t family = 0xff) {
    Bytes bytes{saLen, family, 0, 0, mask[0], mask[1], mask[2], mask[3]};
    bytes.resize(std::max<size_t>(saLen, 2));
    return bytes;
}

// ---- Routing and interface messages ----

// One address after a message header: its sa_len rounded up to 4 bytes (4 for 0), the
// bytes beyond what the address gives zero.
inline Bytes paddedAddress(const Bytes& address) {
    Bytes padded(darwin::socketAddressSpan(address.empty() ? 0 : address[0]), 0);
    std::copy_n(address.begin(), std::min(address.size(), padded.size()), padded.begin());
    return padded;
}

// rt_msghdr (its msglen counted here) and the addresses after it.
inline Bytes routeMessage(darwin::RtMsghdr header, std::initializer_list<Bytes> addresses) {
    Bytes body;
    for (const Bytes& address : addresses) {
        const Bytes padded = paddedAddress(address);
        body.insert(body.end(), padded.begin(), padded.end());
    }
    Bytes message(darwin::rt_msghdr::Layout::kSize + body.size());
    header.msglen = static_cast<uint16_t>(message.size());
    darwin::rt_msghdr::Layout::encode(header, message.data());
    std::copy(body.begin(), body.end(), message.begin() + darwin::rt_msghdr::Layout::kSize);
    return message;
}

// A route as NET_RT_DUMP lists it: destination, gateway and, when given, the netmask.
inline Bytes route(int32_t flags, const Bytes& destination, const Bytes& gateway,
                   const Bytes& netmask = {}, int32_t use = 0, uint16_t index = 0) {
    darwin::RtMsghdr header;
    header.flags = flags;
    header.use = use;
    header.index = index;
    header.addrs = darwin::RTA_DST | darwin::RTA_GATEWAY;
    if (netmask.empty()) {
        return routeMessage(header, {destination, gateway});
    }
    header.addrs |= darwin::RTA_NETMASK;
    return routeMessage(header, {destination, gateway, netmask});
}

inline darwin::IfData64 interfaceData(uint8_t type, uint32_t mtu) {
    darwin::IfData64 data;
    data.type = type;
    data.mtu = mtu;
    return data;
}

// if_msghdr2 (its msglen counted here) and the interface's sockaddr_dl.
inline Bytes interfaceMessage(darwin::IfMsghdr2 header, const Bytes& link) {
    const Bytes padded = paddedAddress(link);
    Bytes message(darwin::if_msghdr2::Layout::kSize + padded.size());
    header.msglen = static_cast<uint16_t>(message.size());
    darwin::if_msghdr2::Layout::encode(header, message.data());
    std::copy(padded.begin(), padded.end(), message.begin() + darwin::if_msghdr2::Layout::kSize);
    return message;
}

// An interface as NET_RT_IFLIST2 lists it (RTM_IFINFO2), up and running; the link
// address's type is the interface's.
inline Bytes interface(const std::string& name, uint16_t index, const darwin::IfData64& data,
                       const std::vector<uint8_t>& linkAddress = {}) {
    darwin::IfMsghdr2 header;
    header.index = index;
    header.flags = static_cast<int32_t>(darwin::IFF_UP_DARWIN | darwin::IFF_RUNNING_DARWIN);
    header.data = data;
    return interfaceMessage(header, sockaddrDl(index, data.type, name, linkAddress));
}

// An RTM_NEWADDR message (struct ifa_msghdr, 20 bytes: msglen @0, version @2, type @3,
// addrs @4, flags @8, index @12, metric @16) with the netmask and address after it, as
// the interface list puts one after its interface for each address.
inline Bytes newAddressMessage(uint16_t index, const Bytes& netmask, const Bytes& address) {
    constexpr size_t kHeaderSize = 20;
    Bytes message(kHeaderSize, 0);
    for (const Bytes& part : {netmask, address}) {
        const Bytes padded = paddedAddress(part);
        message.insert(message.end(), padded.begin(), padded.end());
    }
    message[0] = static_cast<uint8_t>(message.size());
    message[1] = static_cast<uint8_t>(message.size() >> 8);
    message[2] = darwin::RTM_VERSION;
    message[3] = darwin::RTM_NEWADDR;
    message[4] = static_cast<uint8_t>(darwin::RTA_NETMASK | darwin::RTA_IFA);
    message[8] = static_cast<uint8_t>(darwin::IFF_UP_DARWIN);
    message[12] = static_cast<uint8_t>(index);
    message[13] = static_cast<uint8_t>(index >> 8);
    return message;
}

// ---- Control-block lists ----

// An IPv4 address in a control block's 16-byte address union (its last 4 bytes).
inline std::array<uint8_t, 16> addressUnion(const Ipv4& address) {
    std::array<uint8_t, 16> bytes{};
    std::copy(address.begin(), address.end(), bytes.begin() + darwin::inpcb::kIPv4AddressOffset);
    return bytes;
}

inline darwin::InpcbImage ipv4Block(const Ipv4& local, uint16_t localPort, const Ipv4& foreign,
                                    uint16_t foreignPort, uint64_t gencnt, int protocol) {
    darwin::InpcbImage inp;
    inp.laddr = addressUnion(local);
    inp.lport = localPort;
    inp.faddr = addressUnion(foreign);
    inp.fport = foreignPort;
    inp.gencnt = gencnt;
    inp.vflag = darwin::INP_IPV4;
    inp.ipP = static_cast<uint8_t>(protocol);
    return inp;
}

inline darwin::Xsocket ipv4Socket(int16_t type, int32_t protocol) {
    darwin::Xsocket socket;
    socket.type = type;
    socket.protocol = protocol;
    socket.family = darwin::AF_INET_DARWIN;
    return socket;
}

// A TCP socket (ports in host order); the address 0.0.0.0 is any address.
inline darwin::Xtcpcb tcpSocket(const Ipv4& local, uint16_t localPort, const Ipv4& foreign,
                                uint16_t foreignPort, int32_t state, uint64_t gencnt = 1) {
    darwin::Xtcpcb record;
    record.inp =
        ipv4Block(local, localPort, foreign, foreignPort, gencnt, darwin::IPPROTO_TCP_DARWIN);
    record.tcb.state = state;
    record.socket = ipv4Socket(darwin::SOCK_STREAM_DARWIN, darwin::IPPROTO_TCP_DARWIN);
    return record;
}

inline darwin::Xinpcb udpSocket(const Ipv4& local, uint16_t localPort, const Ipv4& foreign = {},
                                uint16_t foreignPort = 0, uint64_t gencnt = 1) {
    darwin::Xinpcb record;
    record.inp =
        ipv4Block(local, localPort, foreign, foreignPort, gencnt, darwin::IPPROTO_UDP_DARWIN);
    record.socket = ipv4Socket(darwin::SOCK_DGRAM_DARWIN, darwin::IPPROTO_UDP_DARWIN);
    return record;
}

inline Bytes record(const darwin::Xtcpcb& socket) {
    Bytes bytes(darwin::xtcpcb::Layout::kSize);
    darwin::xtcpcb::Layout::encode(socket, bytes.data());
    return bytes;
}

inline Bytes record(const darwin::Xinpcb& socket) {
    Bytes bytes(darwin::xinpcb::Layout::kSize);
    darwin::xinpcb::Layout::encode(socket, bytes.data());
    return bytes;
}

// struct xinpgen, the header before and after the records.
inline Bytes listHeader(uint64_t gen, uint32_t count) {
    Bytes bytes(darwin::xinpgen::Layout::kSize);
    darwin::xinpgen::Layout::encode({.count = count, .gen = gen}, bytes.data());
    return bytes;
}

// A whole list as the kernel fills it: the leading header, the records, the closing
// header; without records the kernel ends after the leading header.
inline Bytes pcblist(uint64_t gen, const std::vector<Bytes>& records) {
    Bytes list = listHeader(gen, static_cast<uint32_t>(records.size()));
    if (records.empty()) {
        return list;
    }
    for (const Bytes& one : records) {
        list.insert(list.end(), one.begin(), one.end());
    }
    const Bytes closing = listHeader(gen, static_cast<uint32_t>(records.size()));
    list.insert(list.end(), closing.begin(), closing.end());
    return list;
}

// ---- A typical host ----

// A handheld on a home network: the loopback interface lo0 and the wireless en0, a
// default route, a few sockets, and the same addresses for getifaddrs and the interface
// requests. Every value differs from the others, so none can be mixed up unseen.
struct TypicalHost {
    static constexpr Ipv4 kLoopback{127, 0, 0, 1};
    static constexpr Ipv4 kLoopbackMask{255, 0, 0, 0};
    static constexpr Ipv4 kAddress{192, 168, 1, 20};
    static constexpr Ipv4 kNetmask{255, 255, 255, 0};
    static constexpr Ipv4 kBroadcast{192, 168, 1, 255};
    static constexpr Ipv4 kRouter{192, 168, 1, 1};
    static constexpr Ipv4 kServer{93, 184, 216, 34};
    static constexpr std::array<uint8_t, 6> kEther{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    static constexpr std::array<uint8_t, 6> kRouterEther{0x00, 0xaa, 0xbb, 0xcc, 0xdd, 0xee};
    // fe80::211:22ff:fe33:4455, en0's link-local address.
    static constexpr Ipv6 kLinkLocal{0xfe, 0x80, 0,    0,    0,    0,    0,    0,
                                     0x02, 0x11, 0x22, 0xff, 0xfe, 0x33, 0x44, 0x55};
    static constexpr Ipv6 kIpv6Loopback{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    static constexpr uint16_t kLoopbackIndex = 1;
    static constexpr uint16_t kEn0Index = 2;

    // lo0 (no link address) and en0, each followed by an RTM_NEWADDR of its address.
    static Bytes interfaceList() {
        darwin::IfData64 loopback = interfaceData(darwin::IFT_LOOP, 16384);
        loopback.ipackets = 1200;
        loopback.opackets = 1200;
        darwin::IfData64 wireless = interfaceData(darwin::IFT_ETHER, 1500);
        wireless.ipackets = 52000;
        wireless.ierrors = 3;
        wireless.opackets = 31000;
        wireless.oerrors = 1;
        wireless.collisions = 7;
        wireless.iqdrops = 11;
        return join(
            {interface("lo0", kLoopbackIndex, loopback),
             newAddressMessage(kLoopbackIndex, sockaddrMask(kLoopbackMask), sockaddrIn(kLoopback)),
             interface("en0", kEn0Index, wireless, {kEther.begin(), kEther.end()}),
             newAddressMessage(kEn0Index, sockaddrMask(kNetmask), sockaddrIn(kAddress))});
    }

    // Listed: default via the router (UGS), lo0's host route (UH), the router's link-level
    // entry (UHLW). Not listed: the attached network (UC) and an IPv6 host route.
    static Bytes routingDump() {
        using namespace darwin;
        return join(
            {route(RTF_UP | RTF_GATEWAY | RTF_STATIC, sockaddrIn({0, 0, 0, 0}), sockaddrIn(kRouter),
                   sockaddrMask({0, 0, 0, 0}, 0), 12, kEn0Index),
             route(RTF_UP | RTF_HOST, sockaddrIn(kLoopback), sockaddrIn(kLoopback), {}, 5,
                   kLoopbackIndex),
             route(RTF_UP | RTF_CLONING, sockaddrIn({192, 168, 1, 0}),
                   sockaddrDl(kEn0Index, IFT_ETHER), sockaddrMask(kNetmask, 7), 0, kEn0Index),
             route(RTF_UP | RTF_HOST | RTF_LLINFO | RTF_WASCLONED, sockaddrIn(kRouter),
                   sockaddrDl(kEn0Index, IFT_ETHER, "", {kRouterEther.begin(), kRouterEther.end()}),
                   {}, 30, kEn0Index),
             route(RTF_UP | RTF_HOST, sockaddrIn6(kIpv6Loopback), sockaddrIn6(kIpv6Loopback), {}, 2,
                   kLoopbackIndex)});
    }

    // A listener on port 22 of every address and a connection to a web server; an
    // IPv6-only listener (not listed).
    static Bytes tcpList() {
        darwin::Xtcpcb ipv6Only = tcpSocket({}, 80, {}, 0, darwin::TCPS_LISTEN, 3);
        ipv6Only.inp.vflag = darwin::INP_IPV6;
        return pcblist(
            5, {record(tcpSocket({}, 22, {}, 0, darwin::TCPS_LISTEN, 1)),
                record(tcpSocket(kAddress, 50000, kServer, 443, darwin::TCPS_ESTABLISHED, 2)),
                record(ipv6Only)});
    }

    // A name server on every address and mDNS on en0's address, neither connected.
    static Bytes udpList() {
        return pcblist(9, {record(udpSocket({}, 53, {}, 0, 4)), record(udpSocket(kAddress, 5353))});
    }

    static std::vector<darwin::InterfaceAddress> interfaceAddresses() {
        using namespace darwin;
        const unsigned loopbackFlags = IFF_UP_DARWIN | IFF_LOOPBACK_DARWIN | IFF_RUNNING_DARWIN;
        const unsigned wirelessFlags = IFF_UP_DARWIN | IFF_BROADCAST_DARWIN | IFF_RUNNING_DARWIN;
        Ipv6 hostMask{};
        hostMask.fill(0xff);
        Ipv6 networkMask{};
        std::fill_n(networkMask.begin(), 8, 0xff);
        return {
            {"lo0", loopbackFlags, sockaddrDl(kLoopbackIndex, IFT_LOOP, "lo0"), {}, {}},
            {"lo0", loopbackFlags, sockaddrIn(kLoopback), sockaddrIn(kLoopbackMask), {}},
            {"lo0", loopbackFlags, sockaddrIn6(kIpv6Loopback), sockaddrIn6(hostMask), {}},
            {"en0",
             wirelessFlags,
             sockaddrDl(kEn0Index, IFT_ETHER, "en0", {kEther.begin(), kEther.end()}),
             {},
             {}},
            {"en0", wirelessFlags, sockaddrIn(kAddress), sockaddrIn(kNetmask),
             sockaddrIn(kBroadcast)},
            {"en0",
             wirelessFlags,
             sockaddrIn6(kLinkLocal, kEn0Index),
             sockaddrIn6(networkMask),
             {}},
        };
    }

    // The 16-byte address of an interface request's answer.
    static std::array<uint8_t, 16> requestAddress(const Ipv4& address) {
        const Bytes bytes = sockaddrIn(address);
        std::array<uint8_t, 16> answer{};
        std::copy(bytes.begin(), bytes.end(), answer.begin());
        return answer;
    }

    // en0 answers its address, broadcast address and netmask, but has no destination
    // address; lo0 answers its address, netmask and itself as destination.
    static void installInterfaceRequests(darwin::FixtureBackend& backend) {
        using namespace darwin;
        backend.setInterfaceRequest("en0", SIOCGIFADDR_DARWIN, requestAddress(kAddress));
        backend.setInterfaceRequest("en0", SIOCGIFBRDADDR_DARWIN, requestAddress(kBroadcast));
        backend.setInterfaceRequest("en0", SIOCGIFNETMASK_DARWIN, requestAddress(kNetmask));
        backend.setInterfaceRequest("lo0", SIOCGIFADDR_DARWIN, requestAddress(kLoopback));
        backend.setInterfaceRequest("lo0", SIOCGIFNETMASK_DARWIN, requestAddress(kLoopbackMask));
        backend.setInterfaceRequest("lo0", SIOCGIFDSTADDR_DARWIN, requestAddress(kLoopback));
    }

    // All of the above, served by `backend`.
    static void install(darwin::FixtureBackend& backend) {
        backend.setSysctl(kInterfaceListName, interfaceList());
        backend.setSysctl(kRoutingDumpName, routingDump());
        backend.setSysctlByName(darwin::kTcpPcblist, tcpList());
        backend.setSysctlByName(darwin::kUdpPcblist, udpList());
        backend.setSysctlByName(darwin::kRawPcblist, pcblist(1, {}));
        backend.setInterfaceAddresses(interfaceAddresses());
        installInterfaceRequests(backend);
    }
};

} // namespace networkbuffers
