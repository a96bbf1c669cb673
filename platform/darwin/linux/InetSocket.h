#pragma once

#include <array>
#include <cstdint>

namespace darwin {

// One Internet socket of the host as its socket dump or /proc/net table reports it,
// reduced to what the device's control-block records show.
struct InetSocket {
    // Whether an IPv6 socket is limited to IPv6 (IPV6_V6ONLY). The kernel reports it
    // only for sockets that are listening or unconnected; for the others the addresses
    // tell.
    enum class V6Only : uint8_t { Unknown, No, Yes };

    std::array<uint8_t, 16> localAddress{};   // network order; IPv4 in the first 4 bytes
    std::array<uint8_t, 16> foreignAddress{}; // as the kernel gives it
    uint16_t localPort = 0;                   // host order
    uint16_t foreignPort = 0;
    uint32_t receiveQueue = 0; // bytes waiting to be read; a listener's accept queue
    uint32_t sendQueue = 0;    // bytes not yet acknowledged; a listener's backlog
    uint32_t uid = 0;
    uint8_t family = 0;   // the host's AF_INET or AF_INET6
    uint8_t state = 0;    // the host's TCP_* state (UDP and raw sockets use two of them)
    uint8_t protocol = 0; // a raw socket's protocol; 0 for TCP and UDP
    V6Only v6only = V6Only::Unknown;
};

} // namespace darwin
