#include "platform/darwin/linux/SocketMapping.h"

#include "platform/darwin/Route.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <limits>

namespace darwin {

namespace {

struct TcpStateRow {
    uint8_t linuxState;
    int32_t deviceState;
};

// Linux TCP_* (include/net/tcp_states.h) → the device's TCPS_* (netinet/tcp_fsm.h).
constexpr std::array<TcpStateRow, 13> kTcpStates{{
    {1, TCPS_ESTABLISHED},   // TCP_ESTABLISHED
    {2, TCPS_SYN_SENT},      // TCP_SYN_SENT
    {3, TCPS_SYN_RECEIVED},  // TCP_SYN_RECV
    {4, TCPS_FIN_WAIT_1},    // TCP_FIN_WAIT1
    {5, TCPS_FIN_WAIT_2},    // TCP_FIN_WAIT2
    {6, TCPS_TIME_WAIT},     // TCP_TIME_WAIT
    {7, TCPS_CLOSED},        // TCP_CLOSE
    {8, TCPS_CLOSE_WAIT},    // TCP_CLOSE_WAIT
    {9, TCPS_LAST_ACK},      // TCP_LAST_ACK
    {10, TCPS_LISTEN},       // TCP_LISTEN
    {11, TCPS_CLOSING},      // TCP_CLOSING
    {12, TCPS_SYN_RECEIVED}, // TCP_NEW_SYN_RECV: a connection still waiting in its listener
    {13, TCPS_CLOSED},       // TCP_BOUND_INACTIVE: bound, neither listening nor connected
}};

constexpr std::array<uint8_t, 12> kMappedPrefix{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};

using Address = std::array<uint8_t, 16>;

bool isUnspecified(const Address& address) {
    return std::ranges::all_of(address, [](uint8_t byte) { return byte == 0; });
}

bool isV4Mapped(const Address& address) {
    return std::equal(kMappedPrefix.begin(), kMappedPrefix.end(), address.begin());
}

// An IPv6 socket whose addresses are IPv4 ones (::ffff:a.b.c.d): the device keeps such a
// socket as an IPv4 one (INP_IPV4 alone, the address in its IPv4 form).
bool talksIPv4(const InetSocket& socket) {
    const Address& local = socket.localAddress;
    const Address& foreign = socket.foreignAddress;
    return (isV4Mapped(local) || isV4Mapped(foreign)) &&
           (isV4Mapped(local) || isUnspecified(local)) &&
           (isV4Mapped(foreign) || isUnspecified(foreign));
}

// The 16-byte union of the device: an IPv4 address in its last 4 bytes, the rest zero.
Address deviceAddress(const Address& address, const InetSocket& socket, uint8_t vflag) {
    Address device{};
    if (socket.family == AF_INET) {
        std::copy_n(address.begin(), 4, device.begin() + inpcb::kIPv4AddressOffset);
    } else if (vflag == INP_IPV4) {
        std::copy_n(address.begin() + 12, 4, device.begin() + inpcb::kIPv4AddressOffset);
    } else {
        device = address;
    }
    return device;
}

int16_t saturated16(uint32_t value) {
    return static_cast<int16_t>(std::min<uint32_t>(value, std::numeric_limits<int16_t>::max()));
}

// By list: TCP, UDP, raw (PcbListKind's order).
constexpr std::array<int16_t, 3> kSocketTypes{SOCK_STREAM_DARWIN, SOCK_DGRAM_DARWIN,
                                              SOCK_RAW_DARWIN};
constexpr std::array<int32_t, 3> kSocketProtocols{IPPROTO_TCP_DARWIN, IPPROTO_UDP_DARWIN, 0};

// A raw socket's protocol; raw TCP and UDP sockets are served by the device's wildcard
// raw entry, protocol 0, so no raw record reads as a TCP or UDP one.
int32_t deviceProtocol(const InetSocket& socket, PcbListKind kind) {
    if (kind != PcbListKind::Raw) {
        return kSocketProtocols[static_cast<size_t>(kind)];
    }
    const bool wildcard =
        socket.protocol == IPPROTO_TCP_DARWIN || socket.protocol == IPPROTO_UDP_DARWIN;
    return wildcard ? 0 : socket.protocol;
}

bool isListener(const InetSocket& socket, PcbListKind kind) {
    return kind == PcbListKind::Tcp && socket.state == kLinuxTcpListen;
}

// UDP keeps a foreign address only while connected; Linux reports those as established.
bool hasForeignEnd(const InetSocket& socket, PcbListKind kind) {
    return kind != PcbListKind::Udp || socket.state == kLinuxTcpEstablished;
}

unsigned char* writeRecord(PcbListKind kind, const InetSocket& socket, uint64_t generation,
                           unsigned char* out) {
    if (kind == PcbListKind::Tcp) {
        const Xtcpcb record{static_cast<uint32_t>(xtcpcb::Layout::kSize),
                            deviceInpcb(socket, kind, generation),
                            {deviceTcpState(socket.state), 0},
                            deviceXsocket(socket, kind)};
        xtcpcb::Layout::encode(record, out);
        return out + xtcpcb::Layout::kSize;
    }
    const Xinpcb record{static_cast<uint32_t>(xinpcb::Layout::kSize),
                        deviceInpcb(socket, kind, generation), deviceXsocket(socket, kind)};
    xinpcb::Layout::encode(record, out);
    return out + xinpcb::Layout::kSize;
}

} // namespace

size_t pcbRecordSize(PcbListKind kind) {
    return kind == PcbListKind::Tcp ? xtcpcb::Layout::kSize : xinpcb::Layout::kSize;
}

size_t pcbListSize(PcbListKind kind, size_t sockets) {
    const size_t headers = sockets == 0 ? 1 : 2;
    return headers * xinpgen::Layout::kSize + sockets * pcbRecordSize(kind);
}

size_t pcbListProbeSize(PcbListKind kind, size_t sockets) {
    return 2 * xinpgen::Layout::kSize + (sockets + sockets / 8) * pcbRecordSize(kind);
}

void writePcbList(PcbListKind kind, std::span<const InetSocket> sockets, uint64_t generation,
                  unsigned char* out) {
    const Xinpgen header{static_cast<uint32_t>(xinpgen::Layout::kSize),
                         static_cast<uint32_t>(sockets.size()), generation, generation};
    xinpgen::Layout::encode(header, out);
    if (sockets.empty()) {
        return;
    }
    out += xinpgen::Layout::kSize;
    for (const InetSocket& socket : sockets) {
        out = writeRecord(kind, socket, generation, out);
    }
    xinpgen::Layout::encode(header, out);
}

int32_t deviceTcpState(uint8_t linuxState) {
    const auto row = std::ranges::find(kTcpStates, linuxState, &TcpStateRow::linuxState);
    return row != kTcpStates.end() ? row->deviceState : TCPS_CLOSED;
}

uint8_t deviceVflag(const InetSocket& socket, PcbListKind kind) {
    if (socket.family == AF_INET) {
        return INP_IPV4;
    }
    if (kind == PcbListKind::Raw) {
        return INP_IPV6; // IPv6 raw sockets never see IPv4 packets
    }
    if (talksIPv4(socket)) {
        return INP_IPV4;
    }
    const bool unbound = isUnspecified(socket.localAddress) && isUnspecified(socket.foreignAddress);
    return unbound && socket.v6only == InetSocket::V6Only::No ? INP_IPV4 | INP_IPV6 : INP_IPV6;
}

InpcbImage deviceInpcb(const InetSocket& socket, PcbListKind kind, uint64_t generation) {
    InpcbImage inp;
    inp.vflag = deviceVflag(socket, kind);
    inp.lport = socket.localPort;
    inp.laddr = deviceAddress(socket.localAddress, socket, inp.vflag);
    if (hasForeignEnd(socket, kind)) {
        inp.fport = socket.foreignPort;
        inp.faddr = deviceAddress(socket.foreignAddress, socket, inp.vflag);
    }
    inp.gencnt = generation;
    inp.ipP = kind == PcbListKind::Raw ? socket.protocol : 0;
    return inp;
}

Xsocket deviceXsocket(const InetSocket& socket, PcbListKind kind) {
    Xsocket xso;
    xso.len = static_cast<uint32_t>(xsocket::Layout::kSize);
    xso.type = kSocketTypes[static_cast<size_t>(kind)];
    xso.protocol = deviceProtocol(socket, kind);
    xso.family = socket.family == AF_INET ? AF_INET_DARWIN : AF_INET6_DARWIN;
    xso.uid = socket.uid;
    if (isListener(socket, kind)) {
        xso.options = SO_ACCEPTCONN_DARWIN;
        xso.qlen = saturated16(socket.receiveQueue);
        xso.qlimit = saturated16(socket.sendQueue);
    } else {
        xso.rcvCc = socket.receiveQueue;
        xso.sndCc = socket.sendQueue;
    }
    return xso;
}

} // namespace darwin
