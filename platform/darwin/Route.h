#pragma once

#include "platform/darwin/RecordLayout.h"
#include "platform/darwin/Sysctl.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

// The device's routing-socket records as sysctl {CTL_NET, PF_ROUTE, …} hands them to a
// 32-bit process: struct rt_msghdr (92 bytes, NET_RT_DUMP), struct if_msghdr2 with its
// if_data64 (160 bytes, NET_RT_IFLIST2), and the socket addresses that follow them
// (sockaddr_in, sockaddr_in6, the fixed head of sockaddr_dl). Every message starts with
// its own 16-bit length; the addresses after a header each take their sa_len rounded up
// to 4 bytes (socketAddressSpan). The host's <sys/socket.h> and <sys/ioctl.h> define
// some of these names as macros; those carry the suffix _DARWIN here.
namespace darwin {

// Address families (sa_family).
constexpr uint8_t AF_UNSPEC_DARWIN = 0;
constexpr uint8_t AF_INET_DARWIN = 2;
constexpr uint8_t AF_ROUTE_DARWIN = 17;
constexpr uint8_t AF_LINK = 18;
constexpr uint8_t AF_INET6_DARWIN = 30;
constexpr int PF_ROUTE_DARWIN = AF_ROUTE_DARWIN;

// Fifth name word under {CTL_NET, PF_ROUTE, 0, af}.
constexpr int NET_RT_DUMP = 1;
constexpr int NET_RT_FLAGS = 2;
constexpr int NET_RT_IFLIST = 3;
constexpr int NET_RT_STAT = 4;
constexpr int NET_RT_TRASH = 5;
constexpr int NET_RT_IFLIST2 = 6;
constexpr int NET_RT_DUMP2 = 7;

// Message versions and types.
constexpr uint8_t RTM_VERSION = 5;
constexpr uint8_t RTM_GET = 0x4;
constexpr uint8_t RTM_NEWADDR = 0xc;
constexpr uint8_t RTM_DELADDR = 0xd;
constexpr uint8_t RTM_IFINFO = 0xe;
constexpr uint8_t RTM_NEWMADDR = 0xf;
constexpr uint8_t RTM_IFINFO2 = 0x12;
constexpr uint8_t RTM_NEWMADDR2 = 0x13;
constexpr uint8_t RTM_GET2 = 0x14;

// Which addresses follow a header (rtm_addrs, ifm_addrs), in this order.
constexpr int32_t RTA_DST = 0x1;
constexpr int32_t RTA_GATEWAY = 0x2;
constexpr int32_t RTA_NETMASK = 0x4;
constexpr int32_t RTA_GENMASK = 0x8;
constexpr int32_t RTA_IFP = 0x10;
constexpr int32_t RTA_IFA = 0x20;
constexpr int32_t RTA_AUTHOR = 0x40;
constexpr int32_t RTA_BRD = 0x80;

// Route flags (rtm_flags). 0x2000 and 0x80000 are unused.
constexpr int32_t RTF_UP = 0x1;
constexpr int32_t RTF_GATEWAY = 0x2;
constexpr int32_t RTF_HOST = 0x4;
constexpr int32_t RTF_REJECT = 0x8;
constexpr int32_t RTF_DYNAMIC = 0x10;
constexpr int32_t RTF_MODIFIED = 0x20;
constexpr int32_t RTF_DONE = 0x40;
constexpr int32_t RTF_DELCLONE = 0x80;
constexpr int32_t RTF_CLONING = 0x100;
constexpr int32_t RTF_XRESOLVE = 0x200;
constexpr int32_t RTF_LLINFO = 0x400;
constexpr int32_t RTF_STATIC = 0x800;
constexpr int32_t RTF_BLACKHOLE = 0x1000;
constexpr int32_t RTF_PROTO2 = 0x4000;
constexpr int32_t RTF_PROTO1 = 0x8000;
constexpr int32_t RTF_PRCLONING = 0x10000;
constexpr int32_t RTF_WASCLONED = 0x20000;
constexpr int32_t RTF_PROTO3 = 0x40000;
constexpr int32_t RTF_PINNED = 0x100000;
constexpr int32_t RTF_LOCAL = 0x200000;
constexpr int32_t RTF_BROADCAST = 0x400000;
constexpr int32_t RTF_MULTICAST = 0x800000;

// Interface flags (ifm_flags, ifa_flags).
constexpr uint32_t IFF_UP_DARWIN = 0x1;
constexpr uint32_t IFF_BROADCAST_DARWIN = 0x2;
constexpr uint32_t IFF_DEBUG_DARWIN = 0x4;
constexpr uint32_t IFF_LOOPBACK_DARWIN = 0x8;
constexpr uint32_t IFF_POINTOPOINT_DARWIN = 0x10;
constexpr uint32_t IFF_NOTRAILERS_DARWIN = 0x20;
constexpr uint32_t IFF_RUNNING_DARWIN = 0x40;
constexpr uint32_t IFF_NOARP_DARWIN = 0x80;
constexpr uint32_t IFF_PROMISC_DARWIN = 0x100;
constexpr uint32_t IFF_ALLMULTI_DARWIN = 0x200;
constexpr uint32_t IFF_SIMPLEX_DARWIN = 0x800; // cannot hear its own transmissions
constexpr uint32_t IFF_MULTICAST_DARWIN = 0x8000;

// Interface types (ifi_type, sdl_type).
constexpr uint8_t IFT_OTHER = 0x1;
constexpr uint8_t IFT_ETHER = 0x6;
constexpr uint8_t IFT_ISO88023 = 0x7;
constexpr uint8_t IFT_PPP = 0x17;
constexpr uint8_t IFT_LOOP = 0x18;
constexpr uint8_t IFT_SLIP = 0x1c;
constexpr uint8_t IFT_RS232 = 0x21;
constexpr uint8_t IFT_GIF = 0x37;
constexpr uint8_t IFT_FAITH = 0x38;
constexpr uint8_t IFT_STF = 0x39;
constexpr uint8_t IFT_L2VLAN = 0x87;
constexpr uint8_t IFT_IEEE8023ADLAG = 0x88;
constexpr uint8_t IFT_IEEE1394 = 0x90;
constexpr uint8_t IFT_BRIDGE = 0xd1;
constexpr uint8_t IFT_CELLULAR = 0xff; // IFT_PDP, "GPRS Packet Data Protocol"

constexpr size_t IFNAMSIZ_DARWIN = 16;

// The bytes a socket address takes after a routing message header: sa_len rounded up to
// a multiple of 4, and 4 for an sa_len of 0.
constexpr size_t socketAddressSpan(uint8_t saLen) {
    return saLen > 0 ? 1 + ((static_cast<size_t>(saLen) - 1) | 3) : 4;
}

// struct rt_metrics inside rt_msghdr (rmx_filler stays zero).
struct RtMetrics {
    uint32_t locks = 0;
    uint32_t mtu = 0;
    uint32_t hopcount = 0;
    int32_t expire = 0;
    uint32_t recvpipe = 0;
    uint32_t sendpipe = 0;
    uint32_t ssthresh = 0;
    uint32_t rtt = 0;
    uint32_t rttvar = 0;
    uint32_t pksent = 0;

    bool operator==(const RtMetrics&) const = default;
};

namespace rt_metrics {
using Layout = RecordLayout<RtMetrics, 56,                       // struct rt_metrics
                            Field<&RtMetrics::locks, 0>,         // rmx_locks
                            Field<&RtMetrics::mtu, 4>,           // rmx_mtu
                            Field<&RtMetrics::hopcount, 8>,      // rmx_hopcount
                            Field<&RtMetrics::expire, 12>,       // rmx_expire
                            Field<&RtMetrics::recvpipe, 16>,     // rmx_recvpipe
                            Field<&RtMetrics::sendpipe, 20>,     // rmx_sendpipe
                            Field<&RtMetrics::ssthresh, 24>,     // rmx_ssthresh
                            Field<&RtMetrics::rtt, 28>,          // rmx_rtt
                            Field<&RtMetrics::rttvar, 32>,       // rmx_rttvar
                            Field<&RtMetrics::pksent, 36>>;      // rmx_pksent
} // namespace rt_metrics

struct RtMsghdr {
    uint16_t msglen = 0;
    uint8_t version = RTM_VERSION;
    uint8_t type = RTM_GET;
    uint16_t index = 0;
    int32_t flags = 0;
    int32_t addrs = 0;
    int32_t pid = 0;
    int32_t seq = 0;
    int32_t errnum = 0;
    int32_t use = 0;
    uint32_t inits = 0;
    RtMetrics rmx;

    bool operator==(const RtMsghdr&) const = default;
};

namespace rt_msghdr {
using Layout = RecordLayout<RtMsghdr, 92,                               // struct rt_msghdr
                            Field<&RtMsghdr::msglen, 0>,                // rtm_msglen
                            Field<&RtMsghdr::version, 2>,               // rtm_version
                            Field<&RtMsghdr::type, 3>,                  // rtm_type
                            Field<&RtMsghdr::index, 4>,                 // rtm_index (+2 pad)
                            Field<&RtMsghdr::flags, 8>,                 // rtm_flags
                            Field<&RtMsghdr::addrs, 12>,                // rtm_addrs
                            Field<&RtMsghdr::pid, 16>,                  // rtm_pid
                            Field<&RtMsghdr::seq, 20>,                  // rtm_seq
                            Field<&RtMsghdr::errnum, 24>,               // rtm_errno
                            Field<&RtMsghdr::use, 28>,                  // rtm_use
                            Field<&RtMsghdr::inits, 32>,                // rtm_inits
                            Field<&RtMsghdr::rmx, 36, rt_metrics::Layout>>; // rtm_rmx
} // namespace rt_msghdr

// struct if_data64 inside if_msghdr2: 64-bit counters at 4-aligned offsets.
struct IfData64 {
    uint8_t type = 0;
    uint8_t typelen = 0;
    uint8_t physical = 0;
    uint8_t addrlen = 0;
    uint8_t hdrlen = 0;
    uint8_t recvquota = 0;
    uint8_t xmitquota = 0;
    uint32_t mtu = 0;
    uint32_t metric = 0;
    uint64_t baudrate = 0;
    uint64_t ipackets = 0;
    uint64_t ierrors = 0;
    uint64_t opackets = 0;
    uint64_t oerrors = 0;
    uint64_t collisions = 0;
    uint64_t ibytes = 0;
    uint64_t obytes = 0;
    uint64_t imcasts = 0;
    uint64_t omcasts = 0;
    uint64_t iqdrops = 0;
    uint64_t noproto = 0;
    uint32_t recvtiming = 0;
    uint32_t xmittiming = 0;
    Timeval32 lastchange;

    bool operator==(const IfData64&) const = default;
};

namespace if_data64 {
using Layout = RecordLayout<IfData64, 128,                          // struct if_data64
                            Field<&IfData64::type, 0>,              // ifi_type
                            Field<&IfData64::typelen, 1>,           // ifi_typelen
                            Field<&IfData64::physical, 2>,          // ifi_physical
                            Field<&IfData64::addrlen, 3>,           // ifi_addrlen
                            Field<&IfData64::hdrlen, 4>,            // ifi_hdrlen
                            Field<&IfData64::recvquota, 5>,         // ifi_recvquota
                            Field<&IfData64::xmitquota, 6>,         // ifi_xmitquota
                            Field<&IfData64::mtu, 8>,               // ifi_mtu
                            Field<&IfData64::metric, 12>,           // ifi_metric
                            Field<&IfData64::baudrate, 16>,         // ifi_baudrate
                            Field<&IfData64::ipackets, 24>,         // ifi_ipackets
                            Field<&IfData64::ierrors, 32>,          // ifi_ierrors
                            Field<&IfData64::opackets, 40>,         // ifi_opackets
                            Field<&IfData64::oerrors, 48>,          // ifi_oerrors
                            Field<&IfData64::collisions, 56>,       // ifi_collisions
                            Field<&IfData64::ibytes, 64>,           // ifi_ibytes
                            Field<&IfData64::obytes, 72>,           // ifi_obytes
                            Field<&IfData64::imcasts, 80>,          // ifi_imcasts
                            Field<&IfData64::omcasts, 88>,          // ifi_omcasts
                            Field<&IfData64::iqdrops, 96>,          // ifi_iqdrops
                            Field<&IfData64::noproto, 104>,         // ifi_noproto
                            Field<&IfData64::recvtiming, 112>,      // ifi_recvtiming
                            Field<&IfData64::xmittiming, 116>,      // ifi_xmittiming
                            Field<&IfData64::lastchange, 120, timeval32::Layout>>; // ifi_lastchange
} // namespace if_data64

struct IfMsghdr2 {
    uint16_t msglen = 0;
    uint8_t version = RTM_VERSION;
    uint8_t type = RTM_IFINFO2;
    int32_t addrs = RTA_IFP;
    int32_t flags = 0; // the interface flags cut to 16 bits
    uint16_t index = 0;
    int32_t sndLen = 0;
    int32_t sndMaxlen = 0;
    int32_t sndDrops = 0;
    int32_t timer = 0;
    IfData64 data;

    bool operator==(const IfMsghdr2&) const = default;
};

namespace if_msghdr2 {
using Layout = RecordLayout<IfMsghdr2, 160,                        // struct if_msghdr2
                            Field<&IfMsghdr2::msglen, 0>,          // ifm_msglen
                            Field<&IfMsghdr2::version, 2>,         // ifm_version
                            Field<&IfMsghdr2::type, 3>,            // ifm_type
                            Field<&IfMsghdr2::addrs, 4>,           // ifm_addrs
                            Field<&IfMsghdr2::flags, 8>,           // ifm_flags
                            Field<&IfMsghdr2::index, 12>,          // ifm_index (+2 pad)
                            Field<&IfMsghdr2::sndLen, 16>,         // ifm_snd_len
                            Field<&IfMsghdr2::sndMaxlen, 20>,      // ifm_snd_maxlen
                            Field<&IfMsghdr2::sndDrops, 24>,       // ifm_snd_drops
                            Field<&IfMsghdr2::timer, 28>,          // ifm_timer
                            Field<&IfMsghdr2::data, 32, if_data64::Layout>>; // ifm_data
} // namespace if_msghdr2

// struct ifa_msghdr: an interface address (RTM_NEWADDR) in the interface list, followed
// by the addresses ifam_addrs names (RTA_NETMASK, RTA_IFA, RTA_BRD).
struct IfaMsghdr {
    uint16_t msglen = 0;
    uint8_t version = RTM_VERSION;
    uint8_t type = RTM_NEWADDR;
    int32_t addrs = 0;
    int32_t flags = 0; // IFA_ROUTE_DARWIN
    uint16_t index = 0;
    int32_t metric = 0;

    bool operator==(const IfaMsghdr&) const = default;
};

// Address flags (ifam_flags).
constexpr int32_t IFA_ROUTE_DARWIN = 0x1; // the address's interface route is installed

namespace ifa_msghdr {
using Layout = RecordLayout<IfaMsghdr, 20,                      // struct ifa_msghdr
                            Field<&IfaMsghdr::msglen, 0>,       // ifam_msglen
                            Field<&IfaMsghdr::version, 2>,      // ifam_version
                            Field<&IfaMsghdr::type, 3>,         // ifam_type
                            Field<&IfaMsghdr::addrs, 4>,        // ifam_addrs
                            Field<&IfaMsghdr::flags, 8>,        // ifam_flags
                            Field<&IfaMsghdr::index, 12>,       // ifam_index (+2 pad)
                            Field<&IfaMsghdr::metric, 16>>;     // ifam_metric
} // namespace ifa_msghdr

// The head shared by every socket address.
struct Sockaddr {
    uint8_t len = 0;
    uint8_t family = 0;

    bool operator==(const Sockaddr&) const = default;
};

namespace sockaddr {
using Layout = RecordLayout<Sockaddr, 2,                 // struct sockaddr (head)
                            Field<&Sockaddr::len, 0>,    // sa_len
                            Field<&Sockaddr::family, 1>>; // sa_family
} // namespace sockaddr

// struct sockaddr_in: port and address in network order (the address as its 4 bytes,
// first byte first).
struct SockaddrIn {
    uint8_t len = 16;
    uint8_t family = AF_INET_DARWIN;
    uint16_t port = 0;
    std::array<uint8_t, 4> addr{};

    bool operator==(const SockaddrIn&) const = default;
};

namespace sockaddr_in {
using Layout =
    RecordLayout<SockaddrIn, 16,                                           // struct sockaddr_in
                 Field<&SockaddrIn::len, 0>,                               // sin_len
                 Field<&SockaddrIn::family, 1>,                            // sin_family
                 Field<&SockaddrIn::port, 2, Integer<uint16_t, std::endian::big>>, // sin_port
                 Field<&SockaddrIn::addr, 4>>;                             // sin_addr, then sin_zero
} // namespace sockaddr_in

// struct sockaddr_in6.
struct SockaddrIn6 {
    uint8_t len = 28;
    uint8_t family = AF_INET6_DARWIN;
    uint16_t port = 0;
    uint32_t flowinfo = 0;
    std::array<uint8_t, 16> addr{};
    uint32_t scopeId = 0;

    bool operator==(const SockaddrIn6&) const = default;
};

namespace sockaddr_in6 {
using Layout =
    RecordLayout<SockaddrIn6, 28,                                            // struct sockaddr_in6
                 Field<&SockaddrIn6::len, 0>,                                // sin6_len
                 Field<&SockaddrIn6::family, 1>,                             // sin6_family
                 Field<&SockaddrIn6::port, 2, Integer<uint16_t, std::endian::big>>, // sin6_port
                 Field<&SockaddrIn6::flowinfo, 4, Integer<uint32_t, std::endian::big>>,
                 Field<&SockaddrIn6::addr, 8>,     // sin6_addr
                 Field<&SockaddrIn6::scopeId, 24>>; // sin6_scope_id
} // namespace sockaddr_in6

// The fixed head of struct sockaddr_dl. The interface name (nlen bytes, no NUL) starts
// at kDataOffset, the link address (alen bytes) right after it, then the selector
// (slen bytes); sdl_len covers them all and may exceed the nominal 20 bytes.
struct SockaddrDl {
    uint8_t len = 0;
    uint8_t family = AF_LINK;
    uint16_t index = 0;
    uint8_t type = 0;
    uint8_t nlen = 0;
    uint8_t alen = 0;
    uint8_t slen = 0;

    bool operator==(const SockaddrDl&) const = default;
};

namespace sockaddr_dl {
using Layout = RecordLayout<SockaddrDl, 8,                  // struct sockaddr_dl (head)
                            Field<&SockaddrDl::len, 0>,     // sdl_len
                            Field<&SockaddrDl::family, 1>,  // sdl_family
                            Field<&SockaddrDl::index, 2>,   // sdl_index
                            Field<&SockaddrDl::type, 4>,    // sdl_type
                            Field<&SockaddrDl::nlen, 5>,    // sdl_nlen
                            Field<&SockaddrDl::alen, 6>,    // sdl_alen
                            Field<&SockaddrDl::slen, 7>>;   // sdl_slen
constexpr size_t kDataOffset = 8; // sdl_data
constexpr size_t kMinimumSize = 20;
} // namespace sockaddr_dl

} // namespace darwin
