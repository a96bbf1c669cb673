#pragma once

#include <QString>

#include <cstdint>

// One route of the kernel's routing table (host and gateway routes only).
struct RoutingInfo {
    QString destination; // "default", "192.168.1.7", …
    QString gateway;     // a dotted quad, a link-level address or "link#4"
    int32_t flags = 0;   // RTF_* bits
    uint32_t use = 0;

    bool operator==(const RoutingInfo&) const = default;
};
