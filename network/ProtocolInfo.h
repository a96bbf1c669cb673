#pragma once

#include <QString>

#include <cstdint>

// One IPv4 socket of the kernel's TCP or UDP control-block list.
struct ProtocolInfo {
    int32_t protocolName = 0;  // 6 for TCP, 17 for UDP
    QString localAddress;      // "*" for any address
    uint16_t localPort = 0;    // host order
    QString foreignAddress;    // "*" when not connected
    uint16_t foreignPort = 0;
    int32_t tcpState = 0;      // TCPS_*; 0 for UDP
    QString tcpStateText;      // "LISTEN", "ESTABLISHED", … ; null for UDP

    bool operator==(const ProtocolInfo&) const = default;
};
