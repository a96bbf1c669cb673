#pragma once

#include "platform/darwin/RecordLayout.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

// The device's protocol control-block lists as sysctlbyname("net.inet.tcp.pcblist",
// "net.inet.udp.pcblist", "net.inet.raw.pcblist") hands them to a 32-bit process: a
// leading struct xinpgen (24 bytes), one record per socket (struct xtcpcb, 524 bytes, for
// TCP; struct xinpcb, 320 bytes, for the others), each starting with its own length, and
// a closing xinpgen. An empty list ends after the leading xinpgen. Ports and addresses
// are in network order; an IPv4 address sits in the last 4 bytes of its 16-byte union.
namespace darwin {

constexpr int IPPROTO_IP_DARWIN = 0;
constexpr int IPPROTO_ICMP_DARWIN = 1;
constexpr int IPPROTO_TCP_DARWIN = 6;
constexpr int IPPROTO_UDP_DARWIN = 17;
constexpr int IPPROTO_RAW_DARWIN = 255;

// inp_vflag.
constexpr uint8_t INP_IPV4 = 0x1;
constexpr uint8_t INP_IPV6 = 0x2;

// t_state.
constexpr int32_t TCPS_CLOSED = 0;
constexpr int32_t TCPS_LISTEN = 1;
constexpr int32_t TCPS_SYN_SENT = 2;
constexpr int32_t TCPS_SYN_RECEIVED = 3;
constexpr int32_t TCPS_ESTABLISHED = 4;
constexpr int32_t TCPS_CLOSE_WAIT = 5;
constexpr int32_t TCPS_FIN_WAIT_1 = 6;
constexpr int32_t TCPS_CLOSING = 7;
constexpr int32_t TCPS_LAST_ACK = 8;
constexpr int32_t TCPS_FIN_WAIT_2 = 9;
constexpr int32_t TCPS_TIME_WAIT = 10;
constexpr int32_t TCP_NSTATES = 11;

// so_type.
constexpr int16_t SOCK_STREAM_DARWIN = 1;
constexpr int16_t SOCK_DGRAM_DARWIN = 2;
constexpr int16_t SOCK_RAW_DARWIN = 3;

// so_options: the socket listens.
constexpr int16_t SO_ACCEPTCONN_DARWIN = 0x2;

constexpr const char* kTcpPcblist = "net.inet.tcp.pcblist";
constexpr const char* kUdpPcblist = "net.inet.udp.pcblist";
constexpr const char* kRawPcblist = "net.inet.raw.pcblist";

struct Xinpgen {
    uint32_t len = 24;
    uint32_t count = 0;
    uint64_t gen = 0;
    uint64_t sogen = 0;

    bool operator==(const Xinpgen&) const = default;
};

namespace xinpgen {
using Layout = RecordLayout<Xinpgen, 24,                 // struct xinpgen
                            Field<&Xinpgen::len, 0>,     // xig_len
                            Field<&Xinpgen::count, 4>,   // xig_count
                            Field<&Xinpgen::gen, 8>,     // xig_gen
                            Field<&Xinpgen::sogen, 16>>; // xig_sogen
} // namespace xinpgen

using NetworkPort = Integer<uint16_t, std::endian::big>;

// The user view of struct inpcb (208 bytes) as the kernel copies it into a record:
// only these fields are filled, every pointer is zero. faddr and laddr are the whole
// 16-byte unions; an IPv4 address is their last 4 bytes (inp_faddr, inp_laddr).
struct InpcbImage {
    uint16_t fport = 0; // host order once decoded
    uint16_t lport = 0;
    uint64_t gencnt = 0;
    int32_t flags = 0;
    uint32_t flow = 0;
    uint8_t vflag = 0;
    uint8_t ipTtl = 0;
    uint8_t ipP = 0;
    std::array<uint8_t, 16> faddr{};
    std::array<uint8_t, 16> laddr{};

    bool operator==(const InpcbImage&) const = default;
};

namespace inpcb {
using Layout = RecordLayout<InpcbImage, 208,                             // struct inpcb
                            Field<&InpcbImage::fport, 16, NetworkPort>,  // inp_fport
                            Field<&InpcbImage::lport, 18, NetworkPort>,  // inp_lport
                            Field<&InpcbImage::gencnt, 60>,              // inp_gencnt
                            Field<&InpcbImage::flags, 68>,               // inp_flags
                            Field<&InpcbImage::flow, 72>,                // inp_flow
                            Field<&InpcbImage::vflag, 76>,               // inp_vflag
                            Field<&InpcbImage::ipTtl, 77>,               // inp_ip_ttl
                            Field<&InpcbImage::ipP, 78>,                 // inp_ip_p (+1 pad)
                            Field<&InpcbImage::faddr, 80>,               // inp_dependfaddr
                            Field<&InpcbImage::laddr, 96>>;              // inp_dependladdr
constexpr size_t kIPv4AddressOffset = 12; // ia46_addr4 within a 16-byte union
} // namespace inpcb

// The user view of struct tcpcb (204 bytes, the kernel's otcpcb).
struct TcpcbImage {
    int32_t state = 0;
    uint32_t flags = 0;

    bool operator==(const TcpcbImage&) const = default;
};

namespace tcpcb {
using Layout = RecordLayout<TcpcbImage, 204,                 // struct tcpcb
                            Field<&TcpcbImage::state, 32>,   // t_state
                            Field<&TcpcbImage::flags, 36>>;  // t_flags
} // namespace tcpcb

// struct xsocket (100 bytes): a socket without one leaves it all zero.
struct Xsocket {
    uint32_t len = 100;
    int16_t type = 0;
    int16_t options = 0;
    int16_t linger = 0;
    int16_t state = 0;
    int32_t protocol = 0;
    int32_t family = 0;
    int16_t qlen = 0;
    int16_t incqlen = 0;
    int16_t qlimit = 0;
    uint32_t rcvCc = 0; // so_rcv.sb_cc: bytes waiting to be read
    uint32_t sndCc = 0; // so_snd.sb_cc: bytes not yet acknowledged
    uint32_t uid = 0;

    bool operator==(const Xsocket&) const = default;
};

namespace xsocket {
using Layout = RecordLayout<Xsocket, 100,                  // struct xsocket
                            Field<&Xsocket::len, 0>,       // xso_len
                            Field<&Xsocket::type, 8>,      // so_type
                            Field<&Xsocket::options, 10>,  // so_options
                            Field<&Xsocket::linger, 12>,   // so_linger
                            Field<&Xsocket::state, 14>,    // so_state
                            Field<&Xsocket::protocol, 20>, // xso_protocol
                            Field<&Xsocket::family, 24>,   // xso_family
                            Field<&Xsocket::qlen, 28>,     // so_qlen
                            Field<&Xsocket::incqlen, 30>,  // so_incqlen
                            Field<&Xsocket::qlimit, 32>,   // so_qlimit
                            Field<&Xsocket::rcvCc, 48>,    // so_rcv.sb_cc
                            Field<&Xsocket::sndCc, 72>,    // so_snd.sb_cc
                            Field<&Xsocket::uid, 96>>;     // so_uid
} // namespace xsocket

// struct xinpcb (UDP and raw sockets).
struct Xinpcb {
    uint32_t len = 320;
    InpcbImage inp;
    Xsocket socket;

    bool operator==(const Xinpcb&) const = default;
};

namespace xinpcb {
using Layout = RecordLayout<Xinpcb, 320,                                // struct xinpcb
                            Field<&Xinpcb::len, 0>,                     // xi_len
                            Field<&Xinpcb::inp, 4, inpcb::Layout>,      // xi_inp
                            Field<&Xinpcb::socket, 212, xsocket::Layout>>; // xi_socket
} // namespace xinpcb

// struct xtcpcb (TCP sockets).
struct Xtcpcb {
    uint32_t len = 524;
    InpcbImage inp;
    TcpcbImage tcb;
    Xsocket socket;

    bool operator==(const Xtcpcb&) const = default;
};

namespace xtcpcb {
using Layout = RecordLayout<Xtcpcb, 524,                                // struct xtcpcb
                            Field<&Xtcpcb::len, 0>,                     // xt_len
                            Field<&Xtcpcb::inp, 4, inpcb::Layout>,      // xt_inp
                            Field<&Xtcpcb::tcb, 212, tcpcb::Layout>,    // xt_tp
                            Field<&Xtcpcb::socket, 416, xsocket::Layout>>; // xt_socket
} // namespace xtcpcb

} // namespace darwin
