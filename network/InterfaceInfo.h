#pragma once

#include <QString>

#include <cstdint>

// One network interface as the kernel's interface list describes it, read once.
// The six counters keep the low 32 bits of the kernel's 64-bit counts, as the record
// always has; the full counts are kept beside them for the interface detail screen, so
// a long-running host shows its true totals.
struct InterfaceInfo {
    struct Counters {
        uint64_t ipackets = 0;
        uint64_t ierrors = 0;
        uint64_t opackets = 0;
        uint64_t oerrors = 0;
        uint64_t collisions = 0;
        uint64_t iqdrops = 0;

        bool operator==(const Counters&) const = default;
    };

    QString name;    // "en0"
    uint32_t mtu = 0;
    uint8_t type = 0; // the kernel's interface type (IFT_*)
    QString network; // "<Link#4>"
    QString address; // "00:11:22:33:44:55", or empty without a 6-byte link address
    uint32_t ipackets = 0;
    uint32_t ierrors = 0;
    uint32_t opackets = 0;
    uint32_t oerrors = 0;
    uint32_t collisions = 0;
    uint32_t iqdrops = 0;
    Counters counters64;

    bool operator==(const InterfaceInfo&) const = default;
};
