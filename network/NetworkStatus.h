#pragma once

#include "network/InterfaceInfo.h"
#include "network/ProtocolInfo.h"
#include "network/RoutingInfo.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>

// The Network tab's model: the kernel's interface list, routing table and socket lists
// as records, in the kernel's order. One shared instance for the screens; each
// snapshot replaces one list, and removeAllData empties all three. A screen that shows
// a list keeps its own copy of it (the records are shared and immutable), so a later
// snapshot or removeAllData never changes what it shows.
class NetworkStatus {
public:
    using Interface = std::shared_ptr<const InterfaceInfo>;
    using Route = std::shared_ptr<const RoutingInfo>;
    using Socket = std::shared_ptr<const ProtocolInfo>;

    struct InterfaceType {
        uint8_t code;
        const char* text;
    };
    struct RouteFlag {
        int32_t bit;
        const char* description;
    };

    static NetworkStatus* sharedInstance();

    NetworkStatus(const NetworkStatus&) = delete;
    NetworkStatus& operator=(const NetworkStatus&) = delete;

    const QList<Interface>& interface() const { return interface_; }
    const QList<Route>& routing() const { return routing_; }
    const QList<Socket>& protocol() const { return protocol_; }

    void snapshotOfInterface2();
    void snapshotOfRouting();
    void snapshotOfTCP();
    void snapshotOfUDP();
    // 6: TCP, 17: UDP, anything else: the raw list.
    void snapshotOfProtocol(int32_t protocol);
    void removeAllData();

    // The letters of the route flags set in `flags`, in the flag letter table's order
    // ("UGS").
    static QString routingFlagsToString(int32_t flags);
    // The interface type table, searched in order; a code without a row is "unknown".
    static std::span<const InterfaceType> interfaceTypeTable();
    static QString interfaceTypeText(uint8_t type);
    // The route flag table in its display order (0x8000 before 0x4000, …).
    static std::span<const RouteFlag> routeFlagTable();

    // A routing snapshot of its own, for the gathering thread: taken on a private
    // instance, so it never meets the shared lists or the screens.
    static QList<Route> privateRoutingSnapshot();

private:
    NetworkStatus() = default;

    QList<Interface> interface_;
    QList<Route> routing_;
    QList<Socket> protocol_;
};
