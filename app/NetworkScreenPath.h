#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class NetworkStatusViewController;

namespace ui {
class ViewController;
}

// A screen below the Network tab named as --dump names it:
//   network/interface/NAME          the details of the interface NAME
//   network/routing                 the routing table
//   network/route/N                 the details of the N-th route of the table (from 1)
//   network/tcp, network/udp        the socket lists
//   network/peer/ADDRESS:PORT/PROTO the peer screen of ADDRESS (a dotted quad or "*")
//                                   and PORT over PROTO (tcp or udp)
// Each opens as taps on the rows of the screens above it do. The peer screen's local
// port is that of a socket of a fresh snapshot connected to ADDRESS:PORT (one whose row
// in its list opens that peer), else 0.
struct NetworkScreenPath {
    enum class Kind { Interface, Routing, Route, TCP, UDP, Peer };

    Kind kind = Kind::Routing;
    QString interfaceName; // Interface
    int64_t route = 0;     // Route: from 1; more digits than fit: the largest number
    QString address;       // Peer
    uint16_t port = 0;     // Peer
    int32_t protocol = 0;  // Peer: 6 or 17

    // Nothing for a name that is not a network screen's.
    static std::optional<NetworkScreenPath> parse(const QString& screen);

    // Opens the screen from the tab's root screen; nullptr with the reason in `error`
    // when the interface or route does not exist or the screen did not open.
    ui::ViewController* open(NetworkStatusViewController* root, QString* error) const;
};
