#include "app/NetworkScreenPath.h"

#include "network/NetworkNavigation.h"
#include "network/NetworkRoutingViewController.h"
#include "network/NetworkStatusViewController.h"
#include "network/PeerViewController.h"
#include "network/SocketListViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "registry/tarnel.h"

#include <QCoreApplication>

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

const QString kPrefix = QStringLiteral("network/");

// A run of decimal digits and nothing else; nothing for other text, the largest
// number for more digits than fit.
template <class Number> std::optional<Number> digits(const QString& text) {
    const bool plain = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!plain) {
        return std::nullopt;
    }
    const QByteArray bytes = text.toLatin1();
    Number number = 0;
    const auto result = std::from_chars(bytes.cbegin(), bytes.cend(), number);
    return result.ec == std::errc() ? number : std::numeric_limits<Number>::max();
}

// "*" or a dotted quad as the registry reads one (no registry needs to be open).
bool isAddress(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    uint32_t address = 0;
    return text == QLatin1String("*") ||
           tl_parse_address(bytes.constData(), static_cast<size_t>(bytes.size()), &address) == 0;
}

std::optional<NetworkScreenPath> peerPath(const QString& rest) {
    // ADDRESS:PORT/PROTO
    const qsizetype slash = rest.lastIndexOf('/');
    const qsizetype colon = rest.lastIndexOf(':', slash);
    if (slash < 0 || colon < 0) {
        return std::nullopt;
    }
    const QString protocol = rest.mid(slash + 1);
    const std::optional<uint32_t> port = digits<uint32_t>(rest.mid(colon + 1, slash - colon - 1));
    NetworkScreenPath path;
    path.kind = NetworkScreenPath::Kind::Peer;
    path.address = rest.left(colon);
    path.protocol = protocol == QLatin1String("tcp")   ? 6
                    : protocol == QLatin1String("udp") ? 17
                                                       : 0;
    if (path.protocol == 0 || !port || *port > 0xffff || !isAddress(path.address)) {
        return std::nullopt;
    }
    path.port = static_cast<uint16_t>(*port);
    return path;
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

// Taps a row of `screen`'s table and returns the screen that opened on top of it.
ui::ViewController* tapRow(ui::TableViewController* screen, const ui::IndexPath& row) {
    screen->tableView()->tapRowAtIndexPath(row);
    settle();
    ui::NavigationController* stack = screen->navigationController();
    ui::ViewController* top = stack != nullptr ? stack->topViewController() : nullptr;
    return top != screen ? top : nullptr;
}

ui::ViewController* openPeer(NetworkStatusViewController* root, const NetworkScreenPath& path) {
    const int listRow = path.protocol == 6 ? NetworkStatusViewController::TCPRow
                                           : NetworkStatusViewController::UDPRow;
    auto* list = dynamic_cast<SocketListViewController*>(
        tapRow(root, {NetworkStatusViewController::VariousSection, listRow}));
    if (list == nullptr) {
        return nullptr;
    }
    auto* peer = new PeerViewController();
    peer->setPeer(path.address);
    peer->setPort(path.port);
    peer->setProto(path.protocol);
    for (const NetworkStatus::Socket& socket : list->sockets()) {
        // A socket whose row opens this peer: a listener's "*:0" is no peer.
        if (socket->foreignAddress == path.address && socket->foreignPort == path.port &&
            list->rowFor(*socket).opensPeer) {
            peer->setMyPort(socket->localPort);
            break;
        }
    }
    pushHidingBottomBar(list, peer);
    settle();
    return list->navigationController()->topViewController();
}

} // namespace

std::optional<NetworkScreenPath> NetworkScreenPath::parse(const QString& screen) {
    if (!screen.startsWith(kPrefix)) {
        return std::nullopt;
    }
    const QString rest = screen.mid(kPrefix.size());
    NetworkScreenPath path;
    if (rest == QLatin1String("routing") || rest == QLatin1String("tcp") ||
        rest == QLatin1String("udp")) {
        path.kind = rest == QLatin1String("routing") ? Kind::Routing
                    : rest == QLatin1String("tcp")   ? Kind::TCP
                                                     : Kind::UDP;
        return path;
    }
    if (rest.startsWith(QLatin1String("interface/")) && rest.size() > 10) {
        path.kind = Kind::Interface;
        path.interfaceName = rest.mid(10);
        return path;
    }
    if (rest.startsWith(QLatin1String("route/"))) {
        const std::optional<int64_t> route = digits<int64_t>(rest.mid(6));
        if (!route) {
            return std::nullopt;
        }
        path.kind = Kind::Route;
        path.route = *route;
        return path;
    }
    if (rest.startsWith(QLatin1String("peer/"))) {
        return peerPath(rest.mid(5));
    }
    return std::nullopt;
}

ui::ViewController* NetworkScreenPath::open(NetworkStatusViewController* root,
                                            QString* error) const {
    using Root = NetworkStatusViewController;
    ui::ViewController* shown = nullptr;
    switch (kind) {
    case Kind::Interface: {
        const std::optional<ui::IndexPath> row = root->indexPathOfInterfaceName(interfaceName);
        if (!row) {
            *error = QStringLiteral("no interface named ") + interfaceName;
            return nullptr;
        }
        shown = tapRow(root, *row);
        break;
    }
    case Kind::Routing:
    case Kind::Route:
        shown = tapRow(root, {Root::VariousSection, Root::RoutingRow});
        if (auto* routing = dynamic_cast<NetworkRoutingViewController*>(shown);
            routing != nullptr && kind == Kind::Route) {
            if (route < 1 || route > routing->routes().size()) {
                *error = QStringLiteral("no route %1 (the table has %2)")
                             .arg(route)
                             .arg(routing->routes().size());
                return nullptr;
            }
            shown = tapRow(routing, {0, static_cast<int>(route - 1)});
        }
        break;
    case Kind::TCP:
    case Kind::UDP:
        shown =
            tapRow(root, {Root::VariousSection, kind == Kind::TCP ? Root::TCPRow : Root::UDPRow});
        break;
    case Kind::Peer:
        shown = openPeer(root, *this);
        break;
    }
    if (shown == nullptr) {
        *error = QStringLiteral("the screen did not open");
    }
    return shown;
}
