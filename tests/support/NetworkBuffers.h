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
#include <type_traits>
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

// A message of the routing socket: the header (its msglen counted here), then each
// address in its sa_len rounded up to 4 bytes (4 for 0), the bytes it lacks zero.
template <class Layout>
Bytes message(typename Layout::Value header, std::initializer_list<Bytes> addresses) {
    Bytes bytes(Layout::kSize);
    for (const Bytes& address : addresses) {
        const size_t at = bytes.size();
        bytes.resize(at + darwin::socketAddressSpan(address.empty() ? 0 : address[0]));
        std::copy_n(address.begin(), std::min(address.size(), bytes.size() - at),
                    bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }
    header.msglen = static_cast<uint16_t>(bytes.size());
    Layout::encode(header, bytes.data());
    return bytes;
}

// A route as NET_RT_DUMP lists it: destination, gateway and, when given, the netmask.
inline Bytes route(int32_t flags, const Bytes& destination, const Bytes& gateway,
                   const Bytes& netmask = {}, int32_t use = 0, uint16_t index = 0) {
    using Layout = darwin::rt_msghdr::Layout;
    darwin::RtMsghdr header;
    header.index = index;
    header.flags = flags;
    header.addrs = darwin::RTA_DST | darwin::RTA_GATEWAY;
    header.use = use;
    if (netmask.empty()) {
        return message<Layout>(header, {destination, gateway});
    }
    header.addrs |= darwin::RTA_NETMASK;
    return message<Layout>(header, {destination, gateway, netmask});
}

// An interface as NET_RT_IFLIST2 lists it (RTM_IFINFO2), up and running; the link
// address's type is the interface's.
inline Bytes interface(const std::string& name, uint16_t index, const darwin::IfData64& data,
                       const std::vector<uint8_t>& linkAddress = {}) {
    const darwin::IfMsghdr2 header{
        .flags = static_cast<int32_t>(darwin::IFF_UP_DARWIN | darwin::IFF_RUNNING_DARWIN),
        .index = index,
        .data = data};
    return message<darwin::if_msghdr2::Layout>(header,
                                               {sockaddrDl(index, data.type, name, linkAddress)});
}

// ---- Control-block lists ----

// The control block of an IPv4 socket, TCP (an xtcpcb) or UDP (an xinpcb); ports in
// host order, 0.0.0.0 is any address.
template <class Record>
Record ipv4Socket(const Ipv4& local, uint16_t localPort, const Ipv4& foreign, uint16_t foreignPort,
                  uint64_t gencnt) {
    constexpr bool kTcp = std::is_same_v<Record, darwin::Xtcpcb>;
    constexpr size_t kAt = darwin::inpcb::kIPv4AddressOffset;
    Record record;
    std::copy(local.begin(), local.end(), record.inp.laddr.begin() + kAt);
    std::copy(foreign.begin(), foreign.end(), record.inp.faddr.begin() + kAt);
    record.inp.lport = localPort;
    record.inp.fport = foreignPort;
    record.inp.gencnt = gencnt;
    record.inp.vflag = darwin::INP_IPV4;
    record.inp.ipP = kTcp ? darwin::IPPROTO_TCP_DARWIN : darwin::IPPROTO_UDP_DARWIN;
    record.socket.type = kTcp ? darwin::SOCK_STREAM_DARWIN : darwin::SOCK_DGRAM_DARWIN;
    record.socket.protocol = record.inp.ipP;
    record.socket.family = darwin::AF_INET_DARWIN;
    return record;
}

inline darwin::Xtcpcb tcpSocket(const Ipv4& local, uint16_t localPort, const Ipv4& foreign,
                                uint16_t foreignPort, int32_t state, uint64_t gencnt = 1) {
    darwin::Xtcpcb record =
        ipv4Socket<darwin::Xtcpcb>(local, localPort, foreign, foreignPort, gencnt);
    record.tcb.state = state;
    return record;
}

inline darwin::Xinpcb udpSocket(const Ipv4& local, uint16_t localPort, const Ipv4& foreign = {},
                                uint16_t foreignPort = 0, uint64_t gencnt = 1) {
    return ipv4Socket<darwin::Xinpcb>(local, localPort, foreign, foreignPort, gencnt);
}

inline Bytes record(const darwin::Xtcpcb& socket) {
    return darwin::xtcpcb::Layout::encodeTable({&socket, 1});
}

inline Bytes record(const darwin::Xinpcb& socket) {
    return darwin::xinpcb::Layout::encodeTable({&socket, 1});
}

// struct xinpgen, the header before and after the records.
inline Bytes listHeader(uint64_t gen, uint32_t count) {
    const darwin::Xinpgen header{.count = count, .gen = gen};
    return darwin::xinpgen::Layout::encodeTable({&header, 1});
}

// A whole list as the kernel fills it: the leading header, the records, the closing
// header; without records the kernel ends after the leading header.
inline Bytes pcblist(uint64_t gen, const std::vector<Bytes>& records) {
    const Bytes header = listHeader(gen, static_cast<uint32_t>(records.size()));
    Bytes list = header;
    for (const Bytes& one : records) {
        list.insert(list.end(), one.begin(), one.end());
    }
    if (!records.empty()) {
        list.insert(list.end(), header.begin(), header.end());
    }
    return list;
}

// ---- A typical host ----

// A handheld on a home network: the loopback interface lo0 and the wireless en0, a
// default route, a few sockets, en0's addresses for getifaddrs and both interfaces'
// for the interface requests. Every value differs from the others, so none can be mixed
// up unseen.
struct TypicalHost {
    static constexpr Ipv4 kLoopback{127, 0, 0, 1};
    static constexpr Ipv4 kLoopbackMask{255, 0, 0, 0};
    static constexpr Ipv4 kAddress{192, 168, 1, 20};
    static constexpr Ipv4 kNetmask{255, 255, 255, 0};
    static constexpr Ipv4 kBroadcast{192, 168, 1, 255};
    static constexpr Ipv4 kRouter{192, 168, 1, 1};
    static constexpr Ipv4 kServer{133, 5, 6, 7}; // Japan in the shipped registry
    static constexpr std::array<uint8_t, 6> kEther{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    static constexpr std::array<uint8_t, 6> kRouterEther{0x00, 0xaa, 0xbb, 0xcc, 0xdd, 0xee};
    // fe80::211:22ff:fe33:4455, en0's link-local address.
    static constexpr Ipv6 kLinkLocal{0xfe, 0x80, 0,    0,    0,    0,    0,    0,
                                     0x02, 0x11, 0x22, 0xff, 0xfe, 0x33, 0x44, 0x55};
    static constexpr Ipv6 kIpv6Loopback{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    static constexpr uint16_t kLoopbackIndex = 1;
    static constexpr uint16_t kEn0Index = 2;

    // An RTM_NEWADDR of an interface's address, as the list puts one after its interface.
    static Bytes addressMessage(uint16_t index, const Ipv4& netmask, const Ipv4& address) {
        return message<darwin::ifa_msghdr::Layout>({.addrs = darwin::RTA_NETMASK | darwin::RTA_IFA,
                                                    .flags = darwin::IFA_ROUTE_DARWIN,
                                                    .index = index},
                                                   {sockaddrMask(netmask), sockaddrIn(address)});
    }

    // lo0 (no link address) and en0, each followed by an RTM_NEWADDR of its address.
    static Bytes interfaceList() {
        using namespace darwin;
        const IfData64 loopback{
            .type = IFT_LOOP, .mtu = 16384, .ipackets = 1200, .opackets = 1200, .lastchange = {}};
        const IfData64 wireless{.type = IFT_ETHER,
                                .mtu = 1500,
                                .ipackets = 52000,
                                .ierrors = 3,
                                .opackets = 31000,
                                .oerrors = 1,
                                .collisions = 7,
                                .iqdrops = 11,
                                .lastchange = {}};
        return join({interface("lo0", kLoopbackIndex, loopback),
                     addressMessage(kLoopbackIndex, kLoopbackMask, kLoopback),
                     interface("en0", kEn0Index, wireless, {kEther.begin(), kEther.end()}),
                     addressMessage(kEn0Index, kNetmask, kAddress)});
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

    // A name server on every address, a socket bound to port 0 and one connected to the
    // router's name server.
    static Bytes udpList() {
        return pcblist(9, {record(udpSocket({}, 53, {}, 0, 4)), record(udpSocket({}, 0)),
                           record(udpSocket(kAddress, 40000, kRouter, 53))});
    }

    static std::vector<darwin::InterfaceAddress> interfaceAddresses() {
        using namespace darwin;
        const unsigned flags = IFF_UP_DARWIN | IFF_BROADCAST_DARWIN | IFF_RUNNING_DARWIN;
        Ipv6 networkMask{};
        std::fill_n(networkMask.begin(), 8, 0xff);
        const Bytes link = sockaddrDl(kEn0Index, IFT_ETHER, "en0", {kEther.begin(), kEther.end()});
        return {
            {"en0", flags, link, {}, {}},
            {"en0", flags, sockaddrIn(kAddress), sockaddrIn(kNetmask), sockaddrIn(kBroadcast)},
            {"en0", flags, sockaddrIn6(kLinkLocal, kEn0Index), sockaddrIn6(networkMask), {}},
        };
    }

    // en0 answers its address, broadcast address and netmask, but has no destination
    // address; lo0 answers its address, netmask and itself as destination.
    static void installInterfaceRequests(darwin::FixtureBackend& backend) {
        using namespace darwin;
        const struct {
            const char* name;
            unsigned long request;
            Ipv4 address;
        } answers[] = {{"en0", SIOCGIFADDR_DARWIN, kAddress},
                       {"en0", SIOCGIFBRDADDR_DARWIN, kBroadcast},
                       {"en0", SIOCGIFNETMASK_DARWIN, kNetmask},
                       {"lo0", SIOCGIFADDR_DARWIN, kLoopback},
                       {"lo0", SIOCGIFNETMASK_DARWIN, kLoopbackMask},
                       {"lo0", SIOCGIFDSTADDR_DARWIN, kLoopback}};
        for (const auto& [name, request, address] : answers) {
            std::array<uint8_t, 16> answer{};
            std::ranges::copy(sockaddrIn(address), answer.begin());
            backend.setInterfaceRequest(name, request, answer);
        }
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
